#!/usr/bin/env bash
# Fails when an include points up a layer or a source file passes 600 lines.
# Layers, lowest first; a folder may include only from itself and the folders before it. The two
# front ends, cli and gui, stand side by side: neither includes the other.
set -euo pipefail
cd "$(dirname "$0")/.."

layers=(core settings input prepare output engine view cli gui)
rank() {
  local i
  for i in "${!layers[@]}"; do
    [[ "${layers[$i]}" == "$1" ]] && { echo "$i"; return; }
  done
  echo -1
}

status=0
while IFS= read -r file; do
  layer=${file#src/}
  layer=${layer%%/*}
  own=$(rank "$layer")
  if ((own < 0)); then
    echo "$file: the folder src/$layer is not a layer (${layers[*]})"
    status=1
    continue
  fi
  while IFS=: read -r line included; do
    target=${included%%/*}
    theirs=$(rank "$target")
    ((theirs < 0)) && continue  # not one of ours (a Qt or library header)
    if ((theirs > own)) || { ((theirs == own - 1)) && [[ $layer == gui && $target == cli ]]; }; then
      echo "$file:$line: src/$layer includes \"$included\" from a later layer"
      status=1
    fi
  done < <(grep -n -o -E '^#include "[a-z_]+/[^"]+"' "$file" | sed -E 's/#include "([^"]+)"/\1/')
done < <(git ls-files -co --exclude-standard 'src/*.h' 'src/*.cpp')

while IFS= read -r file; do
  lines=$(wc -l < "$file")
  if ((lines > 600)); then
    echo "$file: $lines lines (at most 600)"
    status=1
  fi
done < <(git ls-files -co --exclude-standard 'src/*.h' 'src/*.cpp' 'tests/*.h' 'tests/*.cpp' \
           'bench/*.h' 'bench/*.cpp' 'fuzz/*.cpp')

((status == 0)) && echo "check-layers: every include points down a layer; every file is at most 600 lines"
exit $status
