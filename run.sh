#!/usr/bin/env bash
# Installs what is missing, builds, and starts QuorvexEval on the simulated evaluation board.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh xvfb xauth

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display is available. QuorvexEval is a desktop program; run it under a virtual display:"
    echo "  xvfb-run -a ./run.sh"
    exit 1
fi
exec ./build/bin/QuorvexEval "$@"
