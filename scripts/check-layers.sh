#!/usr/bin/env bash
# Reports every include that points up or sideways between the layers of src/
# (app above search, purge and fileinfo, above window and results, above toolkit), every
# include of the platform or of the toolkit's native headers above the toolkit
# that does not say why ("// native: ..." on its line), and every platform
# message call outside the toolkit, and every handle closed outside the types
# that own handles. Exit code 1 when anything is reported.
set -euo pipefail
cd "$(dirname "$0")/../src"

rank() {
  case "$1" in
    toolkit) echo 0 ;;
    window | results) echo 1 ;;
    search | purge | fileinfo) echo 2 ;;
    app) echo 3 ;;
    *) echo -1 ;;
  esac
}
native_headers='toolkit/(native|handles|com_ptr|later_calls|ui_objects|event_queue|numbered_table)\.h'
platform_headers='windows|winuser|commctrl|exdisp|mshtml|shlobj|shellapi|objbase|ole2|unknwn'

found=0
report() {
  echo "$1"
  found=1
}

for file in */*.h */*.cpp; do
  layer=${file%%/*}
  own=$(rank "$layer")
  if [ "$own" -lt 0 ]; then
    report "$file: not in any layer (toolkit, window, results, search, purge, fileinfo, app)"
    continue
  fi
  while IFS= read -r line; do
    number=${line%%:*}
    text=${line#*:}
    if [[ $text =~ ^#include\ \"([a-z_]+)/ ]]; then
      target=${BASH_REMATCH[1]}
      other=$(rank "$target")
      if [ "$other" -lt 0 ]; then
        report "src/$file:$number: includes from $target/, which is no layer"
      elif [ "$other" -gt "$own" ]; then
        report "src/$file:$number: $layer includes $target, a layer above it"
      elif [ "$other" -eq "$own" ] && [ "$target" != "$layer" ]; then
        report "src/$file:$number: $layer includes $target, a layer beside it"
      fi
    fi
    if [ "$own" -gt 0 ] && [[ $text != *"// native:"* ]]; then
      if [[ $text =~ ^#include\ \"$native_headers\" ]] || [[ $text =~ ^#include\ \<($platform_headers)\.h\> ]]; then
        report "src/$file:$number: $layer reaches the platform without saying why: $text"
      fi
    fi
  done < <(grep -n '^#include' "$file" || true)
done

while IFS= read -r line; do
  report "src/$line: a platform message call outside the toolkit"
done < <(grep -rnE 'SendMessageW|PostMessageW|PeekMessageW|LockWindowUpdate|GWLP_USERDATA|SetWindowPos|LVM_' . --include=*.cpp |
  grep -v '^\./toolkit/' | sed 's|^\./||' || true)

# Above the window layer nothing speaks in the main window's control numbers, nor
# calls the toolkit's numbered controls and windows: the window layer offers
# what the commands do with them.
above_window='(app|search|purge|fileinfo)/'
control_names=$(sed -n 's/^ *\(id[A-Za-z]*\) = [0-9]*,$/\1/p; s/^constexpr int \(main[A-Za-z]*\) = .*/\1/p' window/control_ids.h | paste -sd'|')
while IFS= read -r line; do
  report "src/$line: a control number above the window layer"
done < <(grep -rnE "\b($control_names)\b|#include \"window/control_ids\.h\"|\b(Control|Window|StatusBar)[A-Z][A-Za-z]*\(" . --include=*.cpp --include=*.h |
  sed 's|^\./||' | grep -E "^$above_window" || true)

# A handle is closed by its owner alone: the handle owners and the sector buffer.
while IFS= read -r line; do
  report "src/$line: a handle closed outside its owner"
done < <(grep -rnE '\b(CloseHandle|FindClose|VirtualFree)\(' . --include=*.cpp --include=*.h |
  grep -vE '^\./toolkit/(handles\.h|owned_handle\.cpp|raw_volume\.cpp):' | sed 's|^\./||' || true)

# Work beside the window runs one way.
while IFS= read -r line; do
  report "src/$line: a thread started outside WorkAside"
done < <(grep -rnE '\bThread(Start|Finish|Ended)\(' . --include=*.cpp --include=*.h |
  grep -vE '^\./(toolkit/system\.(h|cpp)|window/work_aside\.cpp):' | sed 's|^\./||' || true)

if [ "$found" -eq 0 ]; then
  echo "layers: every include points down, only the toolkit touches the platform, no control numbers above the window, handles close in their owners, and threads start in WorkAside alone"
fi
exit "$found"
