#include "dccbox/DeviceLink.h"

#include <filesystem>
#include <system_error>

namespace dccbox {

bool makeDeviceLink(const std::string& target, const std::string& linkPath, std::string* error)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    const auto status = fs::symlink_status(linkPath, ec);
    if (fs::is_symlink(status)) {
        fs::remove(linkPath, ec);
    } else if (fs::exists(status)) {
        if (error)
            *error = linkPath + " exists and is not a symlink";
        return false;
    }
    fs::create_symlink(target, linkPath, ec);
    if (ec) {
        if (error)
            *error = "cannot link " + linkPath + ": " + ec.message();
        return false;
    }
    return true;
}

void removeDeviceLink(const std::string& target, const std::string& linkPath)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    if (fs::read_symlink(linkPath, ec) == fs::path(target) && !ec)
        fs::remove(linkPath, ec);
}

} // namespace dccbox
