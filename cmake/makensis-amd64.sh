#!/bin/sh
# makensis for CPack's NSIS generator, building 64-bit (amd64) Unicode installers. CPack's
# default is a 32-bit installer, which needs a 32-bit Windows subsystem to start: absent
# from a 64-bit-only Wine, and from Windows Server installations without WoW64.
# The Target command must come before the script, hence a wrapper (CPACK_NSIS_EXECUTABLE).
exec makensis "-XTarget amd64-unicode" "$@"
