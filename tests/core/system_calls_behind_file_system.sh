#!/bin/sh
# The core makes its system calls in file_system.cpp alone, behind the FileSystem layer that
# tests replace: fails when another object of the stage library calls one of them, and when the
# library's symbols cannot be listed (a listing that does not even show file_system.cpp's own
# calls proves nothing).
#   system_calls_behind_file_system.sh NM LIBRARY
calls='open|openat|read|pread|write|pwrite|close|fsync|fdatasync|stat|lstat|fstat|fstatat|fchmod|chmod|fchown|chown|ftruncate|truncate|lseek|mkdir|rename|renameat|renameat2|unlink|unlinkat|link|linkat|symlink|mkstemp|mkostemp|mkstemps|flock|fcntl|realpath|sync_file_range|opendir|fdopendir|readdir|access|faccessat'
# std::filesystem makes the same calls inside the standard library, out of this script's sight:
# its operations on the disk (not its path arithmetic) count as system calls too.
operations='directory_iterator|recursive_directory_iterator|status|symlink_status|remove|rename|copy|copy_file|create_director(y|ies)|create_hard_link|create_symlink|canonical|weakly_canonical|read_symlink|file_size|resize_file|permissions|last_write_time|hard_link_count|equivalent|space'
call=" U (__)?($calls)(64)?(_chk|_2)?$"
if ! listing=$("$1" -A -u "$2"); then
    echo "cannot list the undefined symbols of $2 with $1"
    exit 1
fi
if ! printf '%s\n' "$listing" | grep -qE "file_system\.cpp\.o: *$call"; then
    echo "the symbols listed by $1 for $2 show no system call of file_system.cpp"
    exit 1
fi
found=$(printf '%s\n' "$listing" | grep -v 'file_system\.cpp\.o:' |
    grep -E "$call| U _ZN.*St10filesystem(7__cxx11)?[0-9]+($operations).*$")
if [ -n "$found" ]; then
    echo "system calls outside file_system.cpp:"
    echo "$found"
    exit 1
fi
