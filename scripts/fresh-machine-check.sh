#!/usr/bin/env bash
# Checks the README's two commands as on a new machine: forgets what the setup left behind (the fetched
# package and source lists, the source list it adds, the cache of built libraries, Wine prefixes, the
# registration of the i386 emulator), clones the committed tree to a new folder and runs there
#   scripts/run.sh     (headless: starts the program, saves a screenshot, closes it)
#   scripts/test.sh    (setup, build and every test)
# Installed packages stay (removing them is not safe on a shared machine); the setup finds them and
# still fetches the lists and sources it needs. Not part of CI: run it after changing the setup or the
# test harness. As root. ORV_KEEP_CLONE=1 keeps the clone.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
[ "$(id -u)" = 0 ] || { echo "fresh-machine-check.sh must run as root" >&2; exit 1; }

echo "== forgetting the machine's state"
rm -rf /var/lib/apt/lists/* /etc/apt/sources.list.d/orvane-src.sources /var/cache/orvane
rm -rf /root/.wine
if [ -e /proc/sys/fs/binfmt_misc/qemu-i386 ]; then echo -1 > /proc/sys/fs/binfmt_misc/qemu-i386 || true; fi
rm -f /tmp/orvane-i386-probe

clone=$(mktemp -d /tmp/orvane-fresh.XXXXXX)
[ -n "${ORV_KEEP_CLONE:-}" ] || trap 'rm -rf "$clone"' EXIT
git clone -q "$top" "$clone"
cd "$clone"
echo "== clone of $(git log -1 --format='%h %s') in $clone"

start=$SECONDS
echo "== scripts/run.sh"
env -u DISPLAY scripts/run.sh
run_time=$((SECONDS - start))
[ -s build/screenshot.png ] || { echo "fresh-machine-check: run.sh saved no screenshot" >&2; exit 1; }

start=$SECONDS
echo "== scripts/test.sh"
scripts/test.sh
echo "== both commands passed: run.sh ${run_time} s, test.sh $((SECONDS - start)) s"
