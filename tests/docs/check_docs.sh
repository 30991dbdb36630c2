#!/usr/bin/env bash
# Checks on the README and the pages in docs/, run by CTest:
#
#   check_docs.sh links ROOT [MAX_README_BYTES]
#       every relative link and picture in ROOT/README.md and ROOT/docs/*.md
#       leads to a file or folder inside ROOT, every #anchor to a heading of
#       the page it names, and README.md is under MAX_README_BYTES (14000)
#   check_docs.sh commands ROOT
#       the commands the usage comment of ROOT/tilings names are the ones
#       README.md names, and every ./tilings command the pages name exists
#   check_docs.sh selftest FIXTURE
#       the link check on FIXTURE fails and reports exactly the faults
#       listed in FIXTURE/expected
#
# Each fault is one line on standard output; the exit status is 1 if any.
set -uo pipefail
export LC_ALL=C.UTF-8

# The text of a Markdown page outside fenced code blocks, without code spans
# (a span may run over a line break).
prose() {
  local line fenced=0
  while IFS= read -r line || [[ -n "$line" ]]; do
    if [[ "$line" =~ ^[[:space:]]*(\`\`\`|~~~) ]]; then
      fenced=$((1 - fenced))
      echo
      continue
    fi
    ((fenced)) && echo || printf '%s\n' "$line"
  done <"$1" | sed -z 's/`[^`]*`//g' | tr -d '\000'
}

# The link and picture targets of a page, one a line: [text](target),
# ![alt](target), [name]: target, src="target" and href="target".
targets() {
  local text
  text=$(prose "$1")
  {
    grep -oE '\]\([^)[:space:]]*' <<<"$text" | sed 's/^](//'
    grep -oE '^[[:space:]]{0,3}\[[^]]+\]:[[:space:]]*[^[:space:]]+' <<<"$text" |
      sed -E 's/^[^]]*\]:[[:space:]]*//'
    grep -oE '(src|href)="[^"]*"' <<<"$text" | sed -E 's/^[a-z]+="//; s/"$//'
  } | sed -E 's/^<(.*)>$/\1/'
}

# The anchors a page's headings (and id= or name= attributes) give, as the
# hosting site writes them: lower case, punctuation dropped, spaces as
# hyphens, a repeated heading numbered -1, -2, ...
anchors() {
  local line slug fenced=0
  declare -A seen=()
  while IFS= read -r line || [[ -n "$line" ]]; do
    if [[ "$line" =~ ^[[:space:]]*(\`\`\`|~~~) ]]; then
      fenced=$((1 - fenced))
      continue
    fi
    ((fenced)) && continue
    if [[ "$line" =~ ^\#{1,6}[[:space:]]+(.*[^#[:space:]])[[:space:]#]*$ ]]; then
      slug=${BASH_REMATCH[1],,}
      slug=${slug//[^[:alnum:] _-]/}
      slug=${slug// /-}
      [[ -z "$slug" ]] && continue
      if [[ -n "${seen[$slug]:-}" ]]; then
        printf '%s-%s\n' "$slug" "${seen[$slug]}"
        seen[$slug]=$((seen[$slug] + 1))
      else
        printf '%s\n' "$slug"
        seen[$slug]=1
      fi
    fi
    [[ "$line" == *'id="'* || "$line" == *'name="'* ]] &&
      grep -oE '(id|name)="[^"]+"' <<<"$line" | sed -E 's/^[a-z]+="//; s/"$//'
  done <"$1"
}

# A page's anchors, worked out once a page, in anchor_cache[PAGE].
declare -A anchor_cache=()
load_anchors() {
  [[ -v "anchor_cache[$1]" ]] || anchor_cache[$1]=$(anchors "$1")
  return 0
}

check_links() {
  local root max page target path anchor resolved faults=0
  root=$(realpath "$1")
  max=${2:-14000}
  local pages=("$root/README.md" "$root"/docs/*.md)
  for page in "${pages[@]}"; do
    [[ -f "$page" ]] || continue
    local name=${page#"$root"/}
    while IFS= read -r target; do
      [[ -z "$target" ]] && continue
      [[ "$target" =~ ^(https?:|mailto:) ]] && continue
      path=${target%%#*}
      anchor=
      [[ "$target" == *'#'* ]] && anchor=${target#*#}
      path=${path%%\?*}
      path=${path//%20/ }
      if [[ -z "$path" ]]; then
        resolved=$page
      elif [[ "$path" == /* ]]; then
        resolved=$(realpath -m "$root$path")
      else
        resolved=$(realpath -m "${page%/*}/$path")
      fi
      if [[ "$resolved" != "$root" && "$resolved" != "$root"/* ]]; then
        echo "$name: $target: leads out of the checkout"
        faults=1
      elif [[ ! -e "$resolved" ]]; then
        echo "$name: $target: no such file"
        faults=1
      elif [[ -n "$anchor" && "$resolved" == *.md ]] && load_anchors "$resolved" &&
        ! grep -qxF -- "$anchor" <<<"${anchor_cache[$resolved]}"; then
        echo "$name: $target: no such heading"
        faults=1
      fi
    done < <(targets "$page")
  done
  local size
  size=$(wc -c <"$root/README.md")
  if ((size >= max)); then
    echo "README.md: not under $max bytes ($size)"
    faults=1
  fi
  return $faults
}

# The commands (a word, and the option that follows it if any) named on
# standard input, one a line.
commands_in() {
  grep -oE '\./tilings [a-z]+( --[a-z]+)?' | sed 's|^\./tilings ||' | sort -u
}

check_commands() {
  local root=$1 faults=0 usage readme arms word
  # The usage comment: the comment block at the top of the script.
  usage=$(sed -n '2,/^[^#]/p' "$root/tilings" | grep '^#' | commands_in)
  readme=$(commands_in <"$root/README.md")
  # The commands the script's case statement takes.
  arms=$(sed -nE 's/^  ([a-z]+)\).*/\1/p' "$root/tilings" | sort -u)
  while IFS= read -r word; do
    [[ -z "$word" ]] && continue
    grep -qxF -- "$word" <<<"$readme" ||
      { echo "README.md: names no ./tilings $word, which the script's usage names"; faults=1; }
  done <<<"$usage"
  while IFS= read -r word; do
    [[ -z "$word" ]] && continue
    grep -qxF -- "$word" <<<"$usage" ||
      { echo "README.md: ./tilings $word is not in the script's usage"; faults=1; }
  done <<<"$readme"
  local page
  for page in "$root/README.md" "$root"/docs/*.md; do
    [[ -f "$page" ]] || continue
    while IFS= read -r word; do
      [[ -z "$word" ]] && continue
      grep -qxF -- "${word%% *}" <<<"$arms" ||
        { echo "${page#"$root"/}: ./tilings ${word%% *} is no command of the script"; faults=1; }
    done < <(commands_in <"$page")
  done
  return $faults
}

# The link check must fail on the fixture and name what is broken there,
# no more and no less.
selftest() {
  local fixture=$1 out status
  out=$(check_links "$fixture" 100)
  status=$?
  printf '%s\n' "$out"
  if ((status == 0)); then
    echo "selftest: the link check passed a page with broken links"
    return 1
  fi
  local got want
  got=$(sed -E 's/ \([0-9]+\)$//' <<<"$out" | sort)
  want=$(grep -v '^#' "$fixture/expected" | sort)
  if [[ "$got" != "$want" ]]; then
    echo "selftest: reported faults differ from $fixture/expected:"
    diff <(printf '%s\n' "$want") <(printf '%s\n' "$got")
    return 1
  fi
}

case "${1:-}" in
  links) shift; check_links "$@" ;;
  commands) shift; check_commands "$@" ;;
  selftest) shift; selftest "$@" ;;
  *) echo "usage: check_docs.sh links ROOT [MAX] | commands ROOT | selftest FIXTURE" >&2; exit 2 ;;
esac
