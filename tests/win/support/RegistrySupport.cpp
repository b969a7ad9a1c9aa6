// Registry values and keys, the guards that put them back, and keys made
// read-only or volatile for a test.
#include <algorithm>
#include <cstring>
#include <set>

#include "TestSupport.h"

namespace quilmtest {

namespace {

const char* NameOrDefault(const char* name) {
    return name ? name : "";
}

// The real root and view flag of a root of the helpers.
struct Root {
    HKEY key;
    REGSAM view;
};
Root Resolve(HKEY root) {
    if (root == HKEY_LOCAL_MACHINE) return {HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY};
    if (root == kMachine64) return {HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY};
    if (root == kMachineOwnView) return {HKEY_LOCAL_MACHINE, 0};
    return {root, 0};
}

LONG OpenKey(HKEY root, const std::string& key, REGSAM access, HKEY* h) {
    const Root r = Resolve(root);
    return ::RegOpenKeyExA(r.key, key.c_str(), 0, access | r.view, h);
}

LONG CreateKey(HKEY root, const std::string& key, HKEY* h, DWORD options = 0) {
    const Root r = Resolve(root);
    return ::RegCreateKeyExA(r.key, key.c_str(), 0, NULL, options, MAXIMUM_ALLOWED | r.view, NULL,
                             h, NULL);
}

// Deletes key with everything below it.
void DeleteTree(HKEY root, const std::string& key) {
    HKEY h = NULL;
    if (OpenKey(root, key, KEY_ALL_ACCESS, &h) == ERROR_SUCCESS) {
        ::RegDeleteTreeA(h, NULL);
        ::RegCloseKey(h);
    }
    const Root r = Resolve(root);
    ::RegDeleteKeyExA(r.key, key.c_str(), r.view, 0);
}

std::vector<std::string> SubkeyNames(HKEY root, const std::string& key) {
    std::vector<std::string> names;
    HKEY h = NULL;
    if (OpenKey(root, key, KEY_READ, &h) != ERROR_SUCCESS) return names;
    char name[512];
    for (DWORD i = 0;; ++i) {
        DWORD size = sizeof(name);
        if (::RegEnumKeyExA(h, i, name, &size, NULL, NULL, NULL, NULL) != ERROR_SUCCESS) break;
        names.emplace_back(name, size);
    }
    ::RegCloseKey(h);
    return names;
}

std::vector<std::string> ValueNames(HKEY h) {
    std::vector<std::string> names;
    std::vector<char> name(16384);
    for (DWORD i = 0;; ++i) {
        DWORD size = static_cast<DWORD>(name.size());
        if (::RegEnumValueA(h, i, name.data(), &size, NULL, NULL, NULL, NULL) != ERROR_SUCCESS)
            break;
        names.emplace_back(name.data(), size);
    }
    return names;
}

// Type and data of a value of any size; false when it cannot be read.
bool QueryValue(HKEY h, const char* name, DWORD& type, std::vector<BYTE>& data) {
    DWORD size = 0;
    LONG r = ::RegQueryValueExA(h, name, NULL, &type, NULL, &size);
    // The value may grow between the two calls: ask again then.
    for (int attempt = 0; attempt < 8 && r == ERROR_SUCCESS; ++attempt) {
        data.assign(size, 0);
        DWORD got = size;
        r = ::RegQueryValueExA(h, name, NULL, &type, size ? data.data() : NULL, &got);
        if (r == ERROR_SUCCESS) {
            data.resize(got);
            return true;
        }
        if (r == ERROR_MORE_DATA) {
            size = got;
            r = ERROR_SUCCESS;
        }
    }
    return false;
}

// Every key below key (with key itself first), parents before children,
// each with its values.
void Snapshot(HKEY root, const std::string& key, const std::string& relative,
              std::vector<KeyGuard::Node>& nodes) {
    HKEY h = NULL;
    if (OpenKey(root, key, KEY_READ, &h) != ERROR_SUCCESS) return;
    KeyGuard::Node node;
    node.path = relative;
    for (const std::string& name : ValueNames(h)) {
        KeyGuard::Value value;
        value.name = name;
        value.type = 0;
        if (QueryValue(h, name.c_str(), value.type, value.data)) node.values.push_back(value);
    }
    ::RegCloseKey(h);
    nodes.push_back(node);
    for (const std::string& child : SubkeyNames(root, key))
        Snapshot(root, key + "\\" + child, relative.empty() ? child : relative + "\\" + child,
                 nodes);
}

// Deletes the keys below key that the snapshot does not have.
void RemoveNewKeys(HKEY root, const std::string& key, const std::string& relative,
                   const std::set<std::string>& known) {
    for (const std::string& name : SubkeyNames(root, key)) {
        std::string child = relative.empty() ? name : relative + "\\" + name;
        if (known.count(child)) RemoveNewKeys(root, key + "\\" + name, child, known);
        else RemoveKeyTree(root, key + "\\" + name);
    }
}

}  // namespace

std::map<std::string, std::string> RegistryTree(HKEY root, const std::string& key) {
    std::vector<KeyGuard::Node> nodes;
    Snapshot(root, key, "", nodes);
    std::map<std::string, std::string> tree;
    for (const KeyGuard::Node& node : nodes) {
        tree[node.path] = "";
        for (const KeyGuard::Value& value : node.values)
            tree[node.path + "|" + value.name] =
                std::to_string(value.type) + ":" +
                Hex(std::string(value.data.begin(), value.data.end()));
    }
    return tree;
}

bool GetValue64(const std::string& key, const char* name, std::string& text, DWORD& type) {
    text.clear();
    HKEY h = NULL;
    if (OpenKey(kMachine64, key, KEY_READ, &h) != ERROR_SUCCESS) return false;
    std::vector<BYTE> data;
    bool found = QueryValue(h, NameOrDefault(name), type, data);
    ::RegCloseKey(h);
    if (found) text.assign(data.begin(), std::find(data.begin(), data.end(), 0));
    return found;
}

std::string GetValue64(const std::string& key, const char* name) {
    std::string text;
    DWORD type = 0;
    return GetValue64(key, name, text, type) ? text : kMissing;
}

void RemoveKeyTree64(const std::string& key) {
    RemoveKeyTree(kMachine64, key);
}

bool KeyExists(HKEY root, const std::string& key) {
    HKEY h = NULL;
    if (OpenKey(root, key, KEY_READ, &h) != ERROR_SUCCESS) return false;
    ::RegCloseKey(h);
    return true;
}

bool SetValue(HKEY root, const std::string& key, const char* name, const std::string& text) {
    HKEY h = NULL;
    if (CreateKey(root, key, &h) != ERROR_SUCCESS) return false;
    bool ok = text.size() < 0x7FFFFFFF &&
              ::RegSetValueExA(h, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                               static_cast<DWORD>(text.size() + 1)) == ERROR_SUCCESS;
    ::RegCloseKey(h);
    return ok;
}

bool GetValue(HKEY root, const std::string& key, const char* name, std::string& text) {
    text.clear();
    HKEY h = NULL;
    if (OpenKey(root, key, KEY_READ, &h) != ERROR_SUCCESS) return false;
    DWORD type = 0;
    std::vector<BYTE> data;
    bool ok = QueryValue(h, name, type, data);
    ::RegCloseKey(h);
    if (ok) {
        const char* bytes = reinterpret_cast<const char*>(data.data());
        text.assign(bytes, data.empty() ? 0 : strnlen(bytes, data.size()));
    }
    return ok;
}

std::string GetValue(HKEY root, const std::string& key, const char* name) {
    std::string text;
    return GetValue(root, key, name, text) ? text : std::string(kMissing);
}

bool GetDword(HKEY root, const std::string& key, const char* name, DWORD& number) {
    HKEY h = NULL;
    if (OpenKey(root, key, KEY_READ, &h) != ERROR_SUCCESS) return false;
    DWORD type = 0, size = sizeof(number), read = 0;
    bool ok = ::RegQueryValueExA(h, name, NULL, &type, reinterpret_cast<BYTE*>(&read), &size) ==
                  ERROR_SUCCESS &&
              type == REG_DWORD && size == sizeof(read);
    ::RegCloseKey(h);
    if (ok) number = read;
    return ok;
}

bool ValueExists(HKEY root, const std::string& key, const char* name) {
    HKEY h = NULL;
    if (OpenKey(root, key, KEY_READ, &h) != ERROR_SUCCESS) return false;
    DWORD size = 0;
    bool found = ::RegQueryValueExA(h, name, NULL, NULL, NULL, &size) == ERROR_SUCCESS;
    ::RegCloseKey(h);
    return found;
}

void DeleteValue(HKEY root, const std::string& key, const char* name) {
    HKEY h = NULL;
    if (OpenKey(root, key, KEY_SET_VALUE, &h) != ERROR_SUCCESS) return;
    ::RegDeleteValueA(h, name);
    ::RegCloseKey(h);
}

void RemoveKeyTree(HKEY root, const std::string& key) {
    // An empty path would name the whole hive.
    if (key.find_first_not_of('\\') == std::string::npos) return;
    DeleteTree(root, key);
}

// KeyGuard

void KeyGuard::Guard(HKEY root, const std::string& key) {
    Entry entry{root, key, KeyExists(root, key), {}};
    if (entry.existed) Snapshot(root, key, "", entry.nodes);
    m_entries.push_back(entry);
}

KeyGuard::~KeyGuard() {
    for (auto it = m_entries.rbegin(); it != m_entries.rend(); ++it) Restore(*it);
}

void KeyGuard::Restore(const Entry& entry) {
    if (!entry.existed) {
        RemoveKeyTree(entry.root, entry.key);
        return;
    }
    std::set<std::string> known;
    for (const Node& node : entry.nodes) known.insert(node.path);
    RemoveNewKeys(entry.root, entry.key, "", known);
    for (const Node& node : entry.nodes) {
        std::string path = node.path.empty() ? entry.key : entry.key + "\\" + node.path;
        HKEY h = NULL;
        if (CreateKey(entry.root, path, &h) != ERROR_SUCCESS) continue;
        std::set<std::string> recorded;
        for (const Value& v : node.values) recorded.insert(v.name);
        for (const std::string& name : ValueNames(h))
            if (!recorded.count(name)) ::RegDeleteValueA(h, name.c_str());
        for (const Value& v : node.values)
            ::RegSetValueExA(h, v.name.c_str(), 0, v.type, v.data.empty() ? NULL : v.data.data(),
                             static_cast<DWORD>(v.data.size()));
        ::RegCloseKey(h);
    }
}

// ValueGuard

ValueGuard::ValueGuard(HKEY root, const std::string& key, const char* name)
    : m_root(root), m_key(key), m_name(NameOrDefault(name)) {
    HKEY h = NULL;
    if (OpenKey(root, key, KEY_READ, &h) != ERROR_SUCCESS) return;
    m_existed = QueryValue(h, m_name.c_str(), m_type, m_data);
    ::RegCloseKey(h);
}

ValueGuard::~ValueGuard() {
    if (!m_existed) {
        DeleteValue(m_root, m_key, m_name.c_str());
        return;
    }
    HKEY h = NULL;
    if (CreateKey(m_root, m_key, &h) != ERROR_SUCCESS) return;
    ::RegSetValueExA(h, m_name.c_str(), 0, m_type, m_data.empty() ? NULL : m_data.data(),
                     static_cast<DWORD>(m_data.size()));
    ::RegCloseKey(h);
}

// ReadOnlyKey

ReadOnlyKey::ReadOnlyKey(HKEY root, const std::string& path) : m_root(root), m_path(path) {
    HKEY key = NULL;
    if (CreateKey(root, path, &key) != ERROR_SUCCESS) return;
    SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
    PSID everyone = NULL;
    if (::AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone)) {
        DWORD size = sizeof(ACL) + sizeof(ACCESS_ALLOWED_ACE) + ::GetLengthSid(everyone);
        std::vector<char> buffer(size);
        PACL acl = reinterpret_cast<PACL>(buffer.data());
        SECURITY_DESCRIPTOR sd;
        m_ok = ::InitializeAcl(acl, size, ACL_REVISION) &&
               ::AddAccessAllowedAce(acl, ACL_REVISION, KEY_READ | DELETE | WRITE_DAC, everyone) &&
               ::InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION) &&
               ::SetSecurityDescriptorDacl(&sd, TRUE, acl, FALSE) &&
               ::RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, &sd) == ERROR_SUCCESS;
        ::FreeSid(everyone);
    }
    ::RegCloseKey(key);
}

ReadOnlyKey::~ReadOnlyKey() {
    HKEY key = NULL;
    if (OpenKey(m_root, m_path, WRITE_DAC, &key) == ERROR_SUCCESS) {
        SECURITY_DESCRIPTOR sd;
        ::InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION);
        ::SetSecurityDescriptorDacl(&sd, TRUE, NULL, FALSE);  // open to all again
        ::RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, &sd);
        ::RegCloseKey(key);
    }
    DeleteTree(m_root, m_path);
}

// VolatileKey

VolatileKey::VolatileKey(HKEY root, const std::string& path) : m_root(root), m_path(path) {
    DeleteTree(root, path);
    HKEY key = NULL;
    m_ok = CreateKey(root, path, &key, REG_OPTION_VOLATILE) == ERROR_SUCCESS;
    if (m_ok) ::RegCloseKey(key);
}

VolatileKey::~VolatileKey() {
    DeleteTree(m_root, m_path);
}

}  // namespace quilmtest
