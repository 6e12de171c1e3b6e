#include "faulty_file_system.h"

#include "errors.h"

#include <cerrno>
#include <gtest/gtest.h>

namespace krelwin::stagetest {

long FaultyFileSystem::find(Call call, const std::string& subject, long from, bool last) const {
    const auto matches = [&](long i) {
        return calls[i] == call &&
               (subject.ends_with('*')
                    ? subjects[i].starts_with(subject.substr(0, subject.size() - 1))
                    : subjects[i] == subject);
    };
    const long size = static_cast<long>(calls.size());
    if (from < 0) {
        return -1;
    }
    for (long n = 0; n < size - from; ++n) {
        const long i = last ? size - 1 - n : from + n;
        if (matches(i)) {
            return i;
        }
    }
    return -1;
}

bool FaultyFileSystem::ok(Call call, const std::string& subject) {
    if (beforeCall) {
        beforeCall(call);
    }
    calls.push_back(call);
    subjects.push_back(subject);
    const long number = static_cast<long>(calls.size()) - 1;
    if (number == failAt || (failFrom >= 0 && number >= failFrom)) {
        errno = failErrno;
        return false;
    }
    return true;
}

bool FaultyFileSystem::ok(Call call, int fd) {
    const auto found = names.find(fd);
    return ok(call, found == names.end() ? std::string() : found->second);
}

int FaultyFileSystem::named(int fd, const std::string& path) {
    if (fd >= 0) {
        names[fd] = path;
    }
    return fd;
}

void logCalls(FaultyFileSystem& log, const std::function<void()>& reset,
              const std::function<void()>& operation) {
    reset();
    ScopedFileSystem scope(log);
    operation();
}

std::vector<Call> callsOf(const std::function<void()>& reset,
                          const std::function<void()>& operation) {
    FaultyFileSystem log;
    logCalls(log, reset, operation);
    return log.calls;
}

void failEachCall(
    const std::vector<Call>& calls, const std::function<void()>& reset,
    const std::function<void()>& operation,
    const std::function<void(long failAt, Call call, int injected, bool reported)>& check,
    const std::function<void(FaultyFileSystem&)>& prepare) {
    ASSERT_GT(calls.size(), 3u);
    for (long failAt = 0; failAt < static_cast<long>(calls.size()); ++failAt) {
        const Call call = calls[failAt];
        for (const int injected : {ENOSPC, EACCES, EIO}) {
            SCOPED_TRACE(std::string(call) + " #" + std::to_string(failAt) + " errno " +
                         std::to_string(injected));
            reset();
            FaultyFileSystem faulty;
            if (prepare) {
                prepare(faulty);
            }
            faulty.failAt = failAt;
            faulty.failErrno = injected;
            bool reported = true;
            try {
                ScopedFileSystem scope(faulty);
                operation();
                reported = false;
            } catch (const InOutError& error) {
                EXPECT_STREQ(error.what(), InOutError::fromErrno(injected).what());
            } catch (const MissingFileMessage&) {
                EXPECT_EQ(call, "stat") << "only a failed existence test finds no file";
            }
            check(failAt, call, injected, reported);
        }
    }
}

} // namespace krelwin::stagetest
