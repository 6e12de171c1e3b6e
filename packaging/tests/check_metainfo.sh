#!/bin/bash
# The software centre entry validates cleanly (no errors, warnings or hints) without the network.
set -u
metainfo=$1
command -v appstreamcli >/dev/null || { echo "appstreamcli missing"; exit 77; }
report=$(appstreamcli validate --no-net --pedantic "$metainfo" 2>&1)
status=$?
echo "$report"
[ $status -eq 0 ] && ! grep -Eq '^[EWIP]: ' <<<"$report"
