#!/usr/bin/env bash
# Installs the tools the benchmark measures Skerrow against: gawk and Miller from
# Debian, DuckDB's Node.js package into bench/node_modules (git-ignored), and
# linux-perf for profiles. Run once, as root, before bench/run.sh.
set -euo pipefail
cd "$(dirname "$0")"
export DEBIAN_FRONTEND=noninteractive
apt-get update
apt-get install -y --no-install-recommends gawk miller linux-perf time
# Node.js may come from elsewhere than Debian; Debian's npm only when none is there.
command -v node > /dev/null && command -v npm > /dev/null || apt-get install -y --no-install-recommends nodejs npm
[ -f package.json ] || echo '{ "private": true }' > package.json
npm install --no-audit --no-fund --silent @duckdb/node-api@1.5.6-r.1
node -e "require('@duckdb/node-api'); console.log('duckdb node-api ready')"
