# Sourced by the prefix scripts. prefix_leads_out PREFIX: prints each link in the
# prefix's C: drive that leads out of the folder holding the prefix and its
# drives (a test or the demo that walks C: would reach the Linux files there);
# prints nothing for a prefix that is sealed. Links the tests make between the
# prefix and their drives stay inside that folder.
prefix_leads_out() {
  local prefix root link target
  prefix=$(cd "$1" 2>/dev/null && pwd -P) || return 0
  [ -d "$prefix/drive_c" ] || return 0
  root=$(dirname "$prefix")
  find "$prefix/drive_c" -type l -print0 | while IFS= read -r -d '' link; do
    target=$(readlink -m "$link")
    case "$target" in "$root"/*) ;; *) printf '%s -> %s\n' "$link" "$target" ;; esac
  done
}
