// Distribution media built entry by entry: every medium a test installs
// from, and the demo media of tools/make_medium, are made with this one
// builder.  It needs no Windows header: the Windows test programs build
// it with names in code page 936, and make_medium builds it natively,
// where names are UTF-8 and Wine shows them to the programs in code page
// 936.
#pragma once

#include <string>
#include <vector>

namespace quilmtest {

class MediumBuilder {
public:
    // The medium's root folder, made with its missing parents; ok() tells
    // whether it exists.
    explicit MediumBuilder(const std::string& root);

    bool ok() const { return m_ok; }
    // The root, ending with the separator of the system.
    const std::string& root() const { return m_root; }
    // relative below the root.  "\" and "/" both separate folders in
    // relative; either becomes the separator of the system.
    std::string Path(const std::string& relative) const;

    // Each step makes the missing folders of its path and tells whether
    // the entry exists afterwards.
    bool Folder(const std::string& relative);
    bool File(const std::string& relative, const std::string& content);
    // A file whose content is "content of " followed by relative.
    bool File(const std::string& relative);
    // A copy of the file from (a host path is taken as Wine shows it).
    bool Copy(const std::string& relative, const std::string& from);
    // count files "f00000.dat", "f00001.dat", ... in folder, each holding
    // content.
    bool Bulk(const std::string& folder, int count, const std::string& content);

    // The separator of the system: "\" on Windows, "/" elsewhere.
    static const char kSeparator;

private:
    std::string m_root;
    bool m_ok;
};

}  // namespace quilmtest
