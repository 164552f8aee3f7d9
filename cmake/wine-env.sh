# Sourced: the environment every Wine run of the build and the tests shares. 64-bit only, quiet,
# no prompts to download Mono or Gecko, and no menu entries or file associations written into
# the user's home.
export WINEARCH=win64
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
