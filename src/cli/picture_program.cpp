#include "picture_program.h"

#include "commands.h"
#include "diff_pictures.h"
#include "errors.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <unistd.h>

namespace krelwin::cli {

namespace {

#ifdef KRELWIN_PICTURE_PROGRAM_FROM_BINDIR
constexpr std::string_view PictureProgramName = "krelwin-stage-pictures";

// The folder of the running program, every link resolved; empty when the system does not say.
std::filesystem::path ownFolder() {
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path() : self.parent_path();
}
#endif

[[noreturn]] void pictureProgramMissing(const std::string& command) {
#ifdef KRELWIN_PICTURE_PROGRAM_FROM_BINDIR
    std::string looked;
    for (const std::string& path : pictureProgramPaths())
        looked += (looked.empty() ? "" : ", ") + shownText(path);
    if (looked.empty())
        looked = "nowhere: /proc/self/exe does not say where krelwin-stage is";
    throw PlainMessage(command + " is not available: " + std::string(PictureProgramName) +
                       ", which draws the pictures, cannot be started (looked for " + looked +
                       ").");
#else
    throw PlainMessage(command +
                       " is not available: krelwin-stage was built without the editor (Qt).");
#endif
}

} // namespace

bool drawsPictures(const std::vector<std::string>& arguments) {
    if (arguments.empty()) {
        return false;
    }
    const std::string& command = arguments.front();
    if (command == "render" || command == "thumbnail") {
        return true;
    }
    const auto optionsEnd = std::find(arguments.begin(), arguments.end(), "--");
    return command == "diff" &&
           std::any_of(arguments.begin() + 1, optionsEnd, [](const std::string& argument) {
               return argument == "--png" || argument.starts_with("--png=");
           });
}

std::vector<std::string> pictureProgramPaths() {
#ifdef KRELWIN_PICTURE_PROGRAM_FROM_BINDIR
    const std::filesystem::path folder = ownFolder();
    if (folder.empty())
        return {};
    return {(folder / KRELWIN_PICTURE_PROGRAM_FROM_BINDIR).lexically_normal().string(),
            (folder / PictureProgramName).string()};
#else
    return {};
#endif
}

void startPictureProgram(char** argv) {
    for (const std::string& path : pictureProgramPaths()) {
        argv[0] = const_cast<char*>(path.c_str());
        ::execv(path.c_str(), argv);
    }
}

// Reached only when krelwin-stage-pictures could not be started.
int runRender(const CommandLine&, std::ostream&) {
    pictureProgramMissing("render");
}

int runThumbnail(const CommandLine&, std::ostream&) {
    pictureProgramMissing("thumbnail");
}

std::unique_ptr<ChangePictures> openChangePictures(const std::string&) {
    pictureProgramMissing("diff --png");
}

} // namespace krelwin::cli
