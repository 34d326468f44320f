#pragma once
// Temporary folders and a private home for tests and benchmarks, so no file of a real installation
// or of another test is touched. Everything is made under $TMPDIR when it is set, else under /tmp.
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>

// The folder temporary files and folders go in, without a trailing '/'.
inline std::string TempRoot() {
    const char* tmpdir = std::getenv("TMPDIR");
    std::string root = tmpdir && *tmpdir ? tmpdir : "/tmp";
    while (root.size() > 1 && root.back() == '/')
        root.pop_back();
    return root;
}

// A fresh folder (mode 0700) removed with everything in it at the end of the scope; its path is
// empty when it could not be made.
class ScratchFolder {
public:
    explicit ScratchFolder(const std::string& prefix = "kelo-test") {
        std::string pattern = TempRoot() + "/" + prefix + "-XXXXXX";
        if (mkdtemp(pattern.data()))
            path_ = pattern;
    }
    ~ScratchFolder() {
        std::error_code ignored;
        if (!path_.empty())
            std::filesystem::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    bool Ok() const { return !path_.empty(); }
    const std::string& Path() const { return path_; }
    std::string Path(const std::string& name) const { return path_ + "/" + name; }
    std::string operator/(const std::string& name) const { return Path(name); }

private:
    std::string path_;
};

// Sets (or, with nothing, removes) an environment variable for the scope.
class EnvOverride {
public:
    EnvOverride(const char* name, std::optional<std::string> value) : name_(name) {
        if (const char* old = std::getenv(name))
            old_ = old;
        if (value)
            setenv(name, value->c_str(), 1);
        else
            unsetenv(name);
    }
    ~EnvOverride() {
        if (old_)
            setenv(name_.c_str(), old_->c_str(), 1);
        else
            unsetenv(name_.c_str());
    }
    EnvOverride(const EnvOverride&) = delete;
    EnvOverride& operator=(const EnvOverride&) = delete;

private:
    std::string name_;
    std::optional<std::string> old_;
};

// A private home for the scope: HOME, XDG_RUNTIME_DIR and XDG_CONFIG_HOME point at the folders
// "home", "runtime" and "config" of one scratch folder, and are put back at the end.
class PrivateHome {
public:
    explicit PrivateHome(const std::string& prefix = "kelo-home")
        : folder_(prefix), made_(MakeFolders(folder_)), home_("HOME", Where("home")),
          runtime_("XDG_RUNTIME_DIR", Where("runtime")), config_("XDG_CONFIG_HOME", Where("config")) {}

    bool Ok() const { return made_; }
    // A path inside the private folder: "home", "runtime" and "config" exist, any other name is free.
    std::string Path(const std::string& name) const { return folder_.Path(name); }
    // A file in the home folder, where a user keeps documents.
    std::string File(const std::string& name) const { return Path("home/" + name); }

private:
    static bool MakeFolders(const ScratchFolder& folder) {
        if (!folder.Ok())
            return false;
        std::error_code error;
        for (const char* name : {"home", "runtime", "config"})
            if (!std::filesystem::create_directory(folder.Path(name), error))
                return false;
        std::filesystem::permissions(folder.Path("runtime"), std::filesystem::perms::owner_all, error);
        return !error;
    }
    // Unset rather than pointed at nothing when the folder could not be made.
    std::optional<std::string> Where(const char* name) const {
        return made_ ? std::optional<std::string>(folder_.Path(name)) : std::nullopt;
    }

    ScratchFolder folder_;
    bool made_;
    EnvOverride home_;
    EnvOverride runtime_;
    EnvOverride config_;
};
