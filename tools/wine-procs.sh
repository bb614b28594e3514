# Sourced by scripts that measure a program under wine: its processes told apart from
# other prefixes' (other runs on the same machine) by the WINEPREFIX in their environment.

# in_prefix <pid>: true when the process runs in $ZV_WINEPREFIX.
in_prefix() { tr '\0' '\n' <"/proc/$1/environ" 2>/dev/null | grep -qx "WINEPREFIX=$ZV_WINEPREFIX"; }

# prefix_program_pid <program path>: the process of the prefix named after the program.
prefix_program_pid() {
  for _p in $(pgrep -x "$(basename "$1" | cut -c1-15)"); do
    in_prefix "$_p" && { echo "$_p"; return; }
  done
}

# prefix_wineserver_pid: the prefix's wineserver.
prefix_wineserver_pid() {
  for _p in $(pgrep -f '^/usr/lib/wine/wineserver'); do
    in_prefix "$_p" && { echo "$_p"; return; }
  done
}
