#!/usr/bin/env bash
# Runs the program or its tests on a machine where mounts do not answer:
# inside a private mount namespace, FUSE mounts (bindfs) whose daemons are
# stopped lie directly under the temporary folder, under /mnt and in a home
# folder of their own (HOME points there). ORVILEX_STUCK_MOUNTS names them,
# separated by ":".
# First the program starts on the sample database (in a copy of its folder);
# after 10 s the main thread's kernel wait and stack are printed: it must not
# wait in a file system, and the program must end on SIGTERM. Then
#   tools/stuck-mount-check.sh [ctest pattern]
#       runs the tests of the pattern (default: the backup windows) and
#       prints how long they took;
#   tools/stuck-mount-check.sh --run COMMAND [ARGUMENTS]
#       runs the command (a test of CTest).
# Exits 77 when the machine cannot make such mounts (not root, no bindfs, no
# /dev/fuse).
# Everything is undone at the end: the daemons go on, the mounts go, and
# their folders are removed. Needs a build in build/.
set -uo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

if [ "${STUCK_MOUNT_INSIDE:-}" != 1 ]; then
  if [ "$(id -u)" -ne 0 ] || ! command -v bindfs > /dev/null || ! command -v fusermount > /dev/null \
    || [ ! -e /dev/fuse ] || ! unshare -m --propagation private true 2> /dev/null; then
    echo "This machine cannot make FUSE mounts in a namespace of their own: skipped."
    exit 77
  fi
  export STUCK_MOUNT_INSIDE=1
  exec timeout 600 unshare -m --propagation private "$0" "$@"
fi

tag="stuckmount-$$"
home="/tmp/$tag-home"
mkdir -p "$home"
points=("/tmp/$tag" "/mnt/$tag" "$home/$tag")
daemons=()
cleanup() {
  for pid in "${daemons[@]}"; do kill -CONT "$pid" 2> /dev/null; done
  for point in "${points[@]}"; do fusermount -u "$point" 2> /dev/null; done
  for pid in "${daemons[@]}"; do wait "$pid" 2> /dev/null; done
  for point in "${points[@]}"; do rmdir "$point" "$point-src" 2> /dev/null; done
  rm -rf "$home" "/tmp/$tag-program"
}
trap cleanup EXIT
# A timeout ends the script through the clean-up too.
trap "exit 143" TERM INT

for point in "${points[@]}"; do
  mkdir -p "$point" "$point-src"
  bindfs -f "$point-src" "$point" &
  daemons+=($!)
done
for point in "${points[@]}"; do
  for _ in $(seq 50); do mountpoint -q "$point" && break; sleep 0.1; done
  if ! mountpoint -q "$point"; then
    echo "bindfs could not mount $point: skipped."
    exit 77
  fi
done
for pid in "${daemons[@]}"; do kill -STOP "$pid"; done
echo "Stopped FUSE mounts: ${points[*]}"
export ORVILEX_STUCK_MOUNTS
ORVILEX_STUCK_MOUNTS="$(IFS=:; echo "${points[*]}")"
export HOME="$home"

# 1. The program on the sample database. It writes into its folder: a copy is
# used, with the program itself linked.
program="/tmp/$tag-program"
cp -r "$root/build/program" "$program" && rm "$program/Orvilex"
ln "$root/build/program/Orvilex" "$program/Orvilex" 2> /dev/null \
  || cp "$root/build/program/Orvilex" "$program/Orvilex"
sample="$(ls "$program"/Latein/*.ol | head -n 1)"
QT_QPA_PLATFORM=offscreen "$program/Orvilex" "$sample" > /dev/null 2>&1 &
app=$!
sleep 10
verdict=0
echo "Program (pid $app) after 10 s, main thread:"
echo "  state: $(awk '/^State:/ {print $2, $3}' "/proc/$app/status")"
echo "  wchan: $(cat "/proc/$app/wchan")"
sed 's/^/  /' "/proc/$app/stack"
if grep -qE 'fuse|statfs|request_wait_answer|nfs' "/proc/$app/stack"; then
  echo "FAIL: the main thread waits on a file system"
  verdict=1
fi
echo "  other threads:"
for task in /proc/$app/task/*; do
  [ "$(basename "$task")" = "$app" ] && continue
  echo "    $(basename "$task"): $(cat "$task/wchan")"
done
kill "$app"
for _ in $(seq 50); do kill -0 "$app" 2> /dev/null || break; sleep 0.1; done
if kill -0 "$app" 2> /dev/null; then
  echo "FAIL: the program did not end within 5 s of SIGTERM"
  kill -KILL "$app"
  verdict=1
fi
wait "$app" 2> /dev/null

# 2. The tests.
if [ "${1:-}" = --run ]; then
  shift
  timeout 300 "$@" || verdict=1
  exit $verdict
fi
pattern="${1:-backupwindows|oldbackups}"
start=$(date +%s)
(cd "$root/build" && QT_QPA_PLATFORM=offscreen timeout 300 ctest -R "$pattern" --output-on-failure)
status=$?
echo "ctest -R '$pattern': exit $status after $(($(date +%s) - start)) s"
[ $status -eq 0 ] || verdict=1
exit $verdict
