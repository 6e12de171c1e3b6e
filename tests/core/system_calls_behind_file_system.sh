#!/bin/sh
# The core makes its system calls in file_system.cpp alone, behind the FileSystem layer that
# tests replace: fails when another object of the stage library calls one of them.
#   system_calls_behind_file_system.sh NM LIBRARY
calls='open|openat|read|pread|write|pwrite|close|fsync|fdatasync|stat|lstat|fstat|fstatat|fchmod|chmod|fchown|chown|ftruncate|truncate|lseek|mkdir|rename|renameat|renameat2|unlink|unlinkat|link|linkat|symlink|mkstemp|mkostemp|mkstemps|flock|fcntl|realpath|sync_file_range|opendir|fdopendir|readdir|access|faccessat'
found=$("$1" -A -u "$2" | grep -v 'file_system\.cpp\.o:' | grep -E " U (__)?($calls)(64)?(_chk)?$")
if [ -n "$found" ]; then
    echo "system calls outside file_system.cpp:"
    echo "$found"
    exit 1
fi
