#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace tarvek::test {

// A fresh folder for one test, removed with everything in it afterwards.
class CScratchDir {
public:
    CScratchDir()
    {
        std::random_device random;
        m_path = std::filesystem::temp_directory_path() / ("tarvek-test-" + std::to_string(random()));
        std::filesystem::create_directories(m_path);
    }
    ~CScratchDir()
    {
        std::error_code error;
        std::filesystem::remove_all(m_path, error);
    }
    CScratchDir(const CScratchDir&) = delete;
    CScratchDir& operator=(const CScratchDir&) = delete;

    std::string Path(const std::string& strName) const
    {
        const std::u8string str = (m_path / std::filesystem::u8path(strName)).u8string();
        return std::string(str.begin(), str.end());
    }

    std::string Write(const std::string& strName, const std::vector<std::uint8_t>& bytes) const
    {
        const std::string strPath = Path(strName);
        std::ofstream file(std::filesystem::u8path(strPath), std::ios::binary);
        file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        return strPath;
    }

    static std::vector<std::uint8_t> Read(const std::string& strPath)
    {
        std::ifstream file(std::filesystem::u8path(strPath), std::ios::binary);
        return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(file), {});
    }

    // Names in the folder, to show that nothing was left behind.
    std::vector<std::string> List() const
    {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(m_path)) {
            const std::u8string str = entry.path().filename().u8string();
            names.emplace_back(str.begin(), str.end());
        }
        return names;
    }

    std::filesystem::path m_path;
};

} // namespace tarvek::test
