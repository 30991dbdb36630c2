#!/usr/bin/env bash
# Runs a link command, then shortens the JavaScript it wrote (web/minify.cjs)
# once Emscripten's own passes over it are done: the explorer's link
# launcher (web/explorer.cmake).
#
#   web/link-and-minify.sh COMMAND... -o OUT.js ...
set -euo pipefail
"$@"
out=
while (($#)); do
  [[ "$1" == -o ]] && { out=$2; break; }
  shift
done
[[ "$out" == *.js ]] || { echo "link-and-minify: no .js output in the link command" >&2; exit 1; }
# Debian keeps terser, and what it needs, in /usr/share/nodejs.
[[ -d /usr/share/nodejs ]] && export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}
exec node "$(dirname "$0")/minify.cjs" "$out"
