#!/bin/sh
# SPDX-License-Identifier: Apache-2.0
# Checks that libstavro exports exactly the expected names and nothing else.
set -eu
lib="$1"
expected="CDoCheckResolution DoCheckIntDate DoDeCryptStr DoEnCryptStr DoPaintCircle DoPaintFrame3D DoPaintRectangle DoStrMid cDoBackgroundGrid cDoDllVersion cDoRound cDoTextOut"
actual=$(nm -D --defined-only "$lib" | awk '$2 ~ /^[TDBRVW]$/ {print $3}' | LC_ALL=C sort | tr '\n' ' ' | sed 's/ $//')
if [ "$actual" != "$expected" ]; then
    echo "exports differ"
    echo "expected: $expected"
    echo "actual:   $actual"
    exit 1
fi
echo "exports: $actual"
