# Sourced by the build scripts: ccache keeps its cache in the user's cache home, outside the
# checkout, and hits there for the same sources in another clone or folder (paths are taken
# relative to the folder above the checkout, and the build folder is not hashed). Settings made
# before stay.
export CCACHE_DIR=${CCACHE_DIR:-${XDG_CACHE_HOME:-$HOME/.cache}/ccache}
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$(dirname "$root")}
export CCACHE_NOHASHDIR=${CCACHE_NOHASHDIR:-1}
