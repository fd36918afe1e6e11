#!/usr/bin/env bash
# Installs the build and test dependencies that are missing (Debian).
set -euo pipefail
pkgs=(g++ cmake make libgtest-dev libgmock-dev libbenchmark-dev qt6-base-dev libgl-dev fonts-liberation2)
missing=()
for p in "${pkgs[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
fi
