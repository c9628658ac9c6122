#!/usr/bin/env bash
# Builds Quorin, writes the built-in demo map and shows it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh build
./build/quorin-cli demo build/demo.map --force
./build/quorin-cli info build/demo.map
./build/quorin-cli list build/demo.map
