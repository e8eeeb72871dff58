#!/bin/sh
# Stand-in for the host program's import program, installed by scripts/demo.sh as
# <demo>/quill/IMPORT.EXE. QuillClient starts it with two arguments: the import file and the
# import definition file. It records what it received in the demo folder (import-received.log,
# and a copy of the import file as import-received.dat) so the demo's Import can be followed.
demo=$(cd "$(dirname "$0")/.." && pwd)
log="$demo/import-received.log"
{
  echo "$(date '+%m/%d/%Y %H:%M:%S') import program started with $# argument(s)"
  for argument in "$@"; do echo "  argument: $argument"; done
  if [ -f "$1" ]; then
    cp "$1" "$demo/import-received.dat"
    echo "  import file: $(wc -c <"$1") bytes, $(grep -c '^LIABILITY' "$1") liabilities"
  else
    echo "  import file not found"
  fi
} >>"$log"
