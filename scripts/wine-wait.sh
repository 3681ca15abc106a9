#!/usr/bin/env bash
# Waits until the prefix's wineserver has written everything and exited.
WINEPREFIX=${WINEPREFIX:?} /usr/lib/wine/wineserver -w 2>/dev/null || true
