#!/bin/sh
# Runs one Windows program of the build under Wine, in the prefix the caller chose (the build tree's).
export WINEDEBUG="${WINEDEBUG:--all}"
exec wine "$@"
