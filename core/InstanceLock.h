// One running copy per working directory: a lock file that the kernel holds for the process and
// lets go of when the process ends, however it ends.
#pragma once

#include <cstdint>
#include <string>

class InstanceLock
{
public:
    enum class Claim
    {
        Claimed,       // this copy is the one running here, until it ends
        HeldElsewhere, // another live copy runs in this directory
        Unguarded      // no lock can be kept (no such folder, a foreign or odd file): run anyway
    };

    // The lock of the current working directory, kept as a file in folder (the user's runtime
    // directory). The key names the directory by its identity on disk, not by its path, so
    // every way into it (links, bind mounts, paths beyond PATH_MAX) meets the same lock.
    // The folder is a UTF-8 path.
    explicit InstanceLock(std::string folder);
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // Takes the lock in one step, never waiting for it.
    Claim claim();

    // "rupeta-USER-DEVICE-FILE" in hexadecimal: the same for every copy of this user in this
    // directory, different for any other; empty when the directory cannot be identified.
    const std::string& key() const { return m_key; }
    static std::string keyFor(std::uint64_t user, std::uint64_t device, std::uint64_t file);

    // Where the lock lives: $XDG_RUNTIME_DIR, else the temporary folder.
    static std::string defaultFolder();

private:
    std::string m_folder;
    std::string m_key;
    std::intptr_t m_handle = -1;
};
