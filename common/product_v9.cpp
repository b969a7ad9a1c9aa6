#include "product_v9.h"

namespace v9 {

std::string HostProfileKey(const std::string& releaseKey, const std::string& productKey) {
    return "SOFTWARE\\Autodesk\\AutoCAD\\" + releaseKey + "\\" + productKey + "\\Profiles\\" +
           kProfileName;
}

}  // namespace v9
