#include "support/real_firmware.h"

#include <cstdlib>
#include <filesystem>

std::string testFolder(const char* variable) {
    const char* value = std::getenv(variable);
    if (!value || !*value) return {};
    std::error_code error;
    if (!std::filesystem::is_directory(value, error)) return {};
    std::string folder = value;
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    return folder;
}

std::vector<Setting> realPlus4Settings(const std::string& roms) {
    return {{"Rom0L", roms + "/" + realBasic},
            {"Rom0H", roms + "/" + realKernalPal},
            {"Rom1L", roms + "/" + realFunctionLow},
            {"Rom1H", roms + "/" + realFunctionHigh},
            {"PALROM", 1u}};
}
