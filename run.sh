#!/usr/bin/env bash
# Sets up, builds and starts Orvilex; arguments are passed on to the program.
set -euo pipefail
root="$(cd "$(dirname "$0")" && pwd)"
"$root/tools/setup.sh" Orvilex
exec "$root/build/program/Orvilex" "$@"
