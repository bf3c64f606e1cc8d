#!/usr/bin/env bash
# Every C++ file as .clang-format lays it out.
set -euo pipefail
cd "$(dirname "$0")/../.."
tools/check-format.sh
