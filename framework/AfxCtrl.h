// Standard control wrappers that the custom controls derive from.
#pragma once

#include "AfxWin.h"

class CButton : public CWnd {
public:
    UINT GetState() const { return static_cast<UINT>(SendMessage(BM_GETSTATE)); }
};

class CStatic : public CWnd {};

class CProgressCtrl : public CWnd {};
