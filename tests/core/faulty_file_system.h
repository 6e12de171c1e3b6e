// A file system for the tests that passes every call to the operating system, logs it, and can
// make any single call fail: the core's writes and reads are driven through each failure in
// turn to show that none of them costs a stage file.
#pragma once

#include "file_system.h"

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace krelwin::stagetest {

// A system call by its name: "open", "read", "rename" ...
using Call = std::string_view;

// Passes every call to the operating system, except the one numbered `failAt` and every one from
// `failFrom` on, which fail with `failErrno` (a close still closes, as on Linux). It logs each
// call with its subject: the path it names, or the path its descriptor was opened with.
// `beforeCall` lets a test act in between; `closedFolder` makes mkstemp there fail with EACCES,
// as in a folder the writer may not change.
class FaultyFileSystem : public FileSystem {
public:
    std::vector<Call> calls;
    std::vector<std::string> subjects;
    long failAt = -1;
    long failFrom = -1;
    int failErrno = 0;
    std::string closedFolder;
    std::function<void(Call)> beforeCall;

    int open(const char* p, int f, mode_t m) override {
        return named(ok("open", p) ? os.open(p, f, m) : -1, p);
    }
    ssize_t read(int fd, void* b, std::size_t n) override {
        return ok("read", fd) ? os.read(fd, b, n) : -1;
    }
    ssize_t write(int fd, const void* b, std::size_t n) override {
        return ok("write", fd) ? os.write(fd, b, n) : -1;
    }
    int fsync(int fd) override { return ok("fsync", fd) ? os.fsync(fd) : -1; }
    int close(int fd) override {
        const bool pass = ok("close", fd);
        const int saved = errno;
        os.close(fd);
        names.erase(fd);
        errno = saved;
        return pass ? 0 : -1;
    }
    int fstat(int fd, struct stat* st) override { return ok("fstat", fd) ? os.fstat(fd, st) : -1; }
    int stat(const char* p, struct stat* st) override {
        return ok("stat", p) ? os.stat(p, st) : -1;
    }
    int fchmod(int fd, mode_t m) override { return ok("fchmod", fd) ? os.fchmod(fd, m) : -1; }
    int fchown(int fd, uid_t u, gid_t g) override {
        return ok("fchown", fd) ? os.fchown(fd, u, g) : -1;
    }
    int ftruncate(int fd, off_t n) override {
        return ok("ftruncate", fd) ? os.ftruncate(fd, n) : -1;
    }
    off_t lseek(int fd, off_t o, int w) override {
        return ok("lseek", fd) ? os.lseek(fd, o, w) : -1;
    }
    int mkdir(const char* p, mode_t m) override { return ok("mkdir", p) ? os.mkdir(p, m) : -1; }
    int rename(const char* a, const char* b) override {
        return ok("rename", a) ? os.rename(a, b) : -1;
    }
    int unlink(const char* p) override { return ok("unlink", p) ? os.unlink(p) : -1; }
    int createTemporary(char* t) override {
        if (!ok("mkstemp", t)) {
            return -1;
        }
        if (!closedFolder.empty() && std::string_view(t).starts_with(closedFolder + "/")) {
            errno = EACCES;
            return -1;
        }
        const int fd = os.createTemporary(t);
        return named(fd, t);
    }
    int flock(int fd, int op) override { return ok("flock", fd) ? os.flock(fd, op) : -1; }
    int resolvePath(const char* p, std::string& r) override {
        return ok("realpath", p) ? os.resolvePath(p, r) : -1;
    }
    int listFolder(const char* p, std::vector<std::string>& n) override {
        return ok("opendir", p) ? os.listFolder(p, n) : -1;
    }

    // Where the log holds `call` about `subject` (a subject ending in "*" matches by its start),
    // searching from `from` forwards, or backwards from the end when `last`; -1 when nowhere.
    long find(Call call, const std::string& subject, long from = 0, bool last = false) const;

private:
    bool ok(Call call, const std::string& subject);
    bool ok(Call call, int fd);
    int named(int fd, const std::string& path);

    SystemFileSystem os;
    std::map<int, std::string> names;
};

// `operation` run once after `reset`, every call it makes logged in `log`.
void logCalls(FaultyFileSystem& log, const std::function<void()>& reset,
              const std::function<void()>& operation);
std::vector<Call> callsOf(const std::function<void()>& reset,
                          const std::function<void()>& operation);

// Runs `operation` once for each of its calls failing in turn with each injected error, `reset`
// before every run; `prepare` sets up each faulty file system. `check` judges each faulty run,
// told whether the failure was reported; a reported failure must carry the injected error's text.
void failEachCall(
    const std::vector<Call>& calls, const std::function<void()>& reset,
    const std::function<void()>& operation,
    const std::function<void(long failAt, Call call, int injected, bool reported)>& check,
    const std::function<void(FaultyFileSystem&)>& prepare = {});

} // namespace krelwin::stagetest
