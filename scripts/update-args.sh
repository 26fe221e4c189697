# Sourced by the checks that compare a build with committed lists
# (check-symbols.sh, check-abi.sh): parses their arguments
# "[--update] <build-dir>" into $update (1 with --update, else 0) and
# $build_dir, or exits 2 with the usage line. $1 names the check in messages.
parse_update_args() {
  local name=$1 arg
  shift
  update=0
  build_dir=""
  for arg in "$@"; do
    case "$arg" in
      --update) update=1 ;;
      -*) echo "usage: $name [--update] <build-dir>" >&2; exit 2 ;;
      *)
        if [ -n "$build_dir" ]; then
          echo "usage: $name [--update] <build-dir>" >&2
          exit 2
        fi
        build_dir=$arg ;;
    esac
  done
  if [ -z "$build_dir" ]; then
    echo "usage: $name [--update] <build-dir>" >&2
    exit 2
  fi
  [ -d "$build_dir" ] || { echo "$name: no build directory $build_dir" >&2; exit 2; }
}
