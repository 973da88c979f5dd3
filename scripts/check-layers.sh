#!/usr/bin/env bash
# Fails when a file in src/ includes a header of a layer above its own. The layers,
# lowest first; a folder may include its own headers and those of lower layers:
#   app (the program's names, number format: includes nothing of ours)
#   paths <- platform <- sets <- filelist, progress (side by side) <- merge <- shell
# tests/, bench/ and tools/ may include anything.
set -euo pipefail
cd "$(dirname "$0")/.."

find src \( -name '*.h' -o -name '*.cpp' \) -print0 | sort -z | xargs -0 awk '
BEGIN {
    rank["app"] = 0; rank["paths"] = 1; rank["platform"] = 2
    rank["sets"] = 3; rank["filelist"] = 4; rank["progress"] = 4; rank["merge"] = 5
    rank["shell"] = 6
}
FNR == 1 {
    split(FILENAME, part, "/")
    layer = part[2]
    if (!(layer in rank)) {
        printf "%s: the folder src/%s has no place in the layers\n", FILENAME, layer
        bad = 1
    }
}
/^[ \t]*#[ \t]*include[ \t]*"/ {
    header = $0
    sub(/^[^"]*"/, "", header)
    sub(/".*/, "", header)
    if (index(header, "/") == 0)
        next # resource.h and the like, not a layer of ours
    target = substr(header, 1, index(header, "/") - 1)
    if (target == layer)
        next
    if (!(target in rank)) {
        printf "%s:%d: includes %s, of no known layer\n", FILENAME, FNR, header
        bad = 1
    } else if (layer in rank && rank[target] >= rank[layer]) {
        printf "%s:%d: %s includes %s, a layer %s its own\n", FILENAME, FNR, layer, header,
            rank[target] == rank[layer] ? "beside" : "above"
        bad = 1
    }
}
END { exit bad }
'
