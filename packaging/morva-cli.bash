# bash completion for morva-cli: its commands and options, files and directories where an option or a
# command takes one (names with blanks included), the settings keys after --set and the values a key
# takes after "KEY=", the whole-job presets after --preset and the run identifiers after log and undo,
# all asked of the morva-cli being completed (`keys`, `presets`, `runs`) with the --home of the line.

# The --home of the line, as arguments to pass on: `--home DIR`, or nothing.
_morva_cli_home() {
  local j
  _morva_cli_home_args=()
  for ((j = 1; j < COMP_CWORD; j++)); do
    case ${COMP_WORDS[j]} in
      --home)
        if [[ ${COMP_WORDS[j+1]} == "=" ]]; then
          _morva_cli_home_args=(--home "${COMP_WORDS[j+2]}")
        else
          _morva_cli_home_args=(--home "${COMP_WORDS[j+1]}")
        fi
        ;;
    esac
  done
}

# Completes file names (directories only with -d), one candidate per line so that a name with blanks
# stays whole, and lets readline quote them and add the slash after a directory.
_morva_cli_files() {
  local cur=$1 kind=${2:--f}
  # What was typed may be quoted or escaped; compgen wants the name itself.
  cur=${cur#[\"\']}
  cur=${cur//\\ / }
  local IFS=$'\n'
  COMPREPLY=($(compgen "$kind" -- "$cur"))
  compopt -o filenames 2>/dev/null
}

# The values settings key $1 takes, from the values column of `keys`: the numbers of a list such as
# "0 オフ、1 オン" (up to a ";"), files for a path, else (a number, text, a row of digits) the key's
# value in the job.
_morva_cli_values() {
  local key=$1 cur=$2 row
  _morva_cli_home
  # Asked in the program's own Japanese whatever the locale: the parse below knows those words.
  row=$(LANGUAGE= LC_ALL=ja_JP.UTF-8 "${COMP_WORDS[0]}" "${_morva_cli_home_args[@]}" keys 2>/dev/null | awk -F'\t' -v k="$key" '$1 == k')
  [[ -n $row ]] || return
  local values current
  values=$(cut -f4 <<<"$row")
  current=$(cut -f5 <<<"$row")
  if [[ $values == パス* ]]; then
    _morva_cli_files "$cur"
    return
  fi
  local choices=""
  # A key of digits, one per switch ("4桁、各桁 ..."): its value in the job, to edit.
  [[ $values == [0-9]桁* || $values == [0-9][0-9]桁* ]] || choices=$(awk '{ sub(/;.*/, ""); n = split($0, item, "、"); for (i = 1; i <= n; i++) if (item[i] ~ /^[0-9]+ /) { split(item[i], f, " "); print f[1] } }' <<<"$values")
  [[ -n $choices ]] || choices=$current
  local IFS=$'\n'
  COMPREPLY=($(compgen -W "$choices" -- "$cur"))
}

_morva_cli() {
  local cur=${COMP_WORDS[COMP_CWORD]}
  local prev=${COMP_WORDS[COMP_CWORD-1]}
  local before="" before2=""
  ((COMP_CWORD >= 2)) && before=${COMP_WORDS[COMP_CWORD-2]}
  ((COMP_CWORD >= 3)) && before2=${COMP_WORDS[COMP_CWORD-3]}
  COMPREPLY=()

  # After "--set KEY=" (bash makes words of "KEY", "=" and what follows; "--set=KEY=" has one "=" more):
  # the values of KEY.
  if [[ $cur == "=" && $before == --set ]] || [[ $cur == "=" && $before == "=" && $before2 == --set ]]; then
    _morva_cli_values "${prev^^}" ""
    return
  fi
  if [[ $prev == "=" && ( $before2 == --set || ( $before2 == "=" && ${COMP_WORDS[COMP_CWORD-4]} == --set ) ) ]]; then
    _morva_cli_values "${before^^}" "$cur"
    return
  fi
  # Without "=" among the word breaks the key and its value are one word.
  if [[ $prev == --set && $cur == *=* ]]; then
    local key=${cur%%=*}
    _morva_cli_values "${key^^}" "${cur#*=}"
    local i
    for i in "${!COMPREPLY[@]}"; do COMPREPLY[i]=$key=${COMPREPLY[i]}; done
    return
  fi

  # "--set=KEY" splits at the "=" into "--set" "=" "KEY".
  if [[ $prev == "=" ]]; then
    prev=$before
  elif [[ $cur == "=" ]]; then
    prev=${COMP_WORDS[COMP_CWORD-1]}
    cur=""
  fi

  case $prev in
    --home|--copy-to)
      _morva_cli_files "$cur" -d
      return
      ;;
    --settings)
      _morva_cli_files "$cur"
      return
      ;;
    --preset)
      # The whole-job presets: the first kind morva-cli presets lists.
      _morva_cli_home
      local IFS=$'\n'
      COMPREPLY=($(compgen -W "$("${COMP_WORDS[0]}" "${_morva_cli_home_args[@]}" presets 2>/dev/null | awk -F'\t' 'NR == 1 { kind = $1 } $1 == kind { print $2 }')" -- "$cur"))
      # Quoted like a file name: a name may hold blanks.
      compopt -o filenames 2>/dev/null
      return
      ;;
    --set)
      local keys
      _morva_cli_home
      keys=$("${COMP_WORDS[0]}" "${_morva_cli_home_args[@]}" keys 2>/dev/null | cut -f1)
      COMPREPLY=($(compgen -S = -W "$keys" -- "${cur^^}"))
      compopt -o nospace 2>/dev/null
      return
      ;;
  esac

  if [[ $cur == -* ]]; then
    COMPREPLY=($(compgen -W "--home --settings --preset --set --yes --copy-to --overwrite --save --json --null --version --help" -- "$cur"))
    return
  fi

  # The command, once; after it, targets (files and directories), after log and undo the run
  # identifiers the log holds, after help a command.
  local i word
  for ((i = 1; i < COMP_CWORD; i++)); do
    word=${COMP_WORDS[i]}
    case $word in
      log|undo|help|check|preview|run|runs|eval|presets|keys|show)
        # A word after an option that takes a value is that value, not the command.
        case ${COMP_WORDS[i-1]} in
          --home|--settings|--preset|--set|--copy-to|=) continue ;;
        esac
        case $word in
          log|undo) _morva_cli_run_ids "$i" ;;
          help) ((i == COMP_CWORD - 1)) && COMPREPLY=($(compgen -W "check preview run undo runs log eval presets keys show" -- "$cur")) ;;
          *) _morva_cli_files "$cur" ;;
        esac
        return
        ;;
    esac
  done
  COMPREPLY=($(compgen -W "check preview run undo runs log eval presets keys show help" -- "$cur"))
}

# The run identifiers of the log after log or undo (the command at index $1 of COMP_WORDS), asked of
# the morva-cli being completed with the same --home (`runs`). An identifier is a date and a time, which
# the command also takes as two words: the date is completed first, then the time. Bash splits a word
# at ':', so the words typed after the command are taken from the line itself.
_morva_cli_run_ids() {
  _morva_cli_home
  local line=${COMP_LINE:0:COMP_POINT} typed=()
  read -ra typed <<< "$line"
  [[ $line == *[[:space:]] ]] && typed+=("")
  local command=${COMP_WORDS[$1]} n=${#typed[@]}
  local after=$((n - 1))
  while ((after > 0)) && [[ ${typed[after-1]} != "$command" ]]; do ((after--)); done
  ((after > 0)) || return
  local ids
  ids=$("${COMP_WORDS[0]}" "${_morva_cli_home_args[@]}" runs 2>/dev/null | cut -f1)
  local IFS=$'\n'
  case $((n - after)) in
    1) COMPREPLY=($(compgen -W "$(cut -d' ' -f1 <<< "$ids" | sort -u)" -- "${typed[after]}")) ;;
    2)
      local word=${typed[after+1]}
      COMPREPLY=($(compgen -W "$(awk -v d="${typed[after]}" '$1 == d { print $2 }' <<< "$ids")" -- "$word"))
      # Bash replaces only what follows the last ':' of the word.
      if [[ $COMP_WORDBREAKS == *:* && $word == *:* ]]; then
        local i
        for i in "${!COMPREPLY[@]}"; do COMPREPLY[i]=${COMPREPLY[i]#"${word%:*}:"}; done
      fi
      ;;
  esac
}

complete -F _morva_cli morva-cli
