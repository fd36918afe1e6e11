#!/usr/bin/env bash
# Builds the program and starts it from its application directory.
set -euo pipefail
cd "$(dirname "$0")"
scripts/deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELKOR_TESTS=OFF -DVELKOR_BENCH=OFF >/dev/null
cmake --build build -j"$(nproc)"
exec build/app/velkor "$@"
