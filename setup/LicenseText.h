// The agreement text of the wizard's agreement page (code page 936).
#pragma once

extern const char kLicenseText[];
