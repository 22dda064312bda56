# Sourced by the scripts that run Emscripten.
# Debian's Emscripten runs its JavaScript tools under the first node on PATH;
# one that is not Debian's does not see the modules they need (acorn among
# them) unless told where Debian keeps them.
export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}
# Debian ships the system libraries prebuilt, in a cache frozen under
# /usr/share/emscripten. An Emscripten without them builds them on first use,
# for minutes, into a cache of ours that later runs reuse.
if [ ! -d /usr/share/emscripten/cache/sysroot/lib/wasm32-emscripten ]; then
  export EM_CACHE=${EM_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/glyphmarinae/emscripten}
  export EM_FROZEN_CACHE=
  mkdir -p "$EM_CACHE"
fi
