#!/usr/bin/env bash
# Prints an X display number that nothing uses yet (several test runs may share the machine).
for n in $(seq 90 190); do
  [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] || { echo "$n"; exit 0; }
done
echo "no free X display" >&2
exit 1
