#!/usr/bin/env bash
# Prints every include in src/ that points up the stack, and fails if there
# is one. The folders, bottom to top:
#   base < platform < settings < frame < reading < archive < admin < sender < app < cli
# A file may include headers of its own folder and of folders below it; code
# outside a ui/ folder never includes a header from a ui/ folder.
set -euo pipefail
cd "$(dirname "$0")/../src"

find . -name '*.cpp' -o -name '*.h' | sed 's#^\./##' | sort | while read -r file; do
  { grep -Eo '^#include "[^"]+"' "$file" || true; } | sed -E 's/#include "(.*)"/\1/' | while read -r header; do
    printf '%s %s\n' "$file" "$header"
  done
done | awk '
BEGIN {
  n = split("base platform settings frame reading archive admin sender app cli", order, " ")
  for (i = 1; i <= n; i++) rank[order[i]] = i
}
function layer(path,   parts) { split(path, parts, "/"); return parts[1] }
function isUi(path) { return path ~ /(^|\/)ui\// }
{
  file = $1; header = $2
  if (!(layer(header) in rank)) next          # generated headers, moc files
  from = (layer(file) in rank) ? rank[layer(file)] : rank["cli"]   # main.cpp
  to = rank[layer(header)]
  if (to > from) { print file ": includes " header " from a higher layer"; bad = 1 }
  else if (isUi(header) && !isUi(file) && layer(file) != "cli" && file != "main.cpp") {
    print file ": core code includes the window header " header; bad = 1
  }
}
END { exit bad }
'
echo "layers: no include points up the stack"
