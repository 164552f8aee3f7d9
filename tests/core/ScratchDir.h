// A fresh directory of its own under the system's temporary directory, removed with all it
// holds at the end of the test; the same on every system.
#pragma once

#include <filesystem>
#include <random>
#include <stdexcept>
#include <string>
#include <system_error>

class ScratchDir
{
public:
    explicit ScratchDir(const std::string& prefix)
    {
        std::random_device random;
        const auto base = std::filesystem::temp_directory_path();
        for (int attempt = 0; attempt < 100; ++attempt) {
            const auto candidate = base / (prefix + "-" + std::to_string(random()));
            if (std::filesystem::create_directory(candidate)) {
                m_path = candidate;
                return;
            }
        }
        throw std::runtime_error("no scratch directory under " + base.string());
    }
    ~ScratchDir()
    {
        std::error_code error;
        // A directory left read-only by a test is opened again first.
        std::filesystem::permissions(m_path, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, error);
        std::filesystem::remove_all(m_path, error);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::filesystem::path& path() const { return m_path; }

private:
    std::filesystem::path m_path;
};
