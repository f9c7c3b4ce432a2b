#!/usr/bin/env bash
# Runs a window test under openbox, as windows stack and close on a desktop only under a window
# manager: with-window-manager.sh TEST [ARGUMENTS...]
set -u
openbox >/dev/null 2>&1 &
manager=$!
sleep 0.5
"$@"
status=$?
kill $manager 2>/dev/null
wait $manager 2>/dev/null
exit $status
