#!/bin/sh
# Runs one Windows program of the build under Wine, in the prefix the caller chose (the build tree's).
# A window test (ORV_WINDOW_TEST=1) runs in a slot of its own (scripts/wine-session.sh): the one ctest
# handed it through its resource groups, or else slot 0, taken under a lock so that window tests run one
# at a time when ctest is not given the slots.
export WINEDEBUG="${WINEDEBUG:--all}"
if [ "${ORV_WINDOW_TEST:-}" = 1 ] && [ -n "${WINEPREFIX:-}" ]; then
  slots="$(dirname "$WINEPREFIX")/slots"
  slot=$(printf '%s' "${CTEST_RESOURCE_GROUP_0_DISPLAY:-}" | sed -n 's/^id:\([0-9]*\),.*/\1/p')
  if [ -n "$slot" ] && [ -f "$slots/$slot.env" ]; then
    . "$slots/$slot.env"
  elif [ -f "$slots/0.env" ]; then
    . "$slots/0.env"
    exec flock "$slots/0.lock" wine "$@"
  fi
fi
exec wine "$@"
