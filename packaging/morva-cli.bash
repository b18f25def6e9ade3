# bash completion for morva-cli: its commands and options, files and directories where an option
# takes one, and the settings keys after --set, asked of the morva-cli being completed (`keys`).

_morva_cli() {
  local cur=${COMP_WORDS[COMP_CWORD]}
  local prev=${COMP_WORDS[COMP_CWORD-1]}
  local before=""
  ((COMP_CWORD >= 2)) && before=${COMP_WORDS[COMP_CWORD-2]}
  COMPREPLY=()

  # "--set=KEY" splits at the "=" into "--set" "=" "KEY".
  if [[ $prev == "=" ]]; then
    prev=$before
  elif [[ $cur == "=" ]]; then
    prev=${COMP_WORDS[COMP_CWORD-1]}
    cur=""
  fi

  case $prev in
    --home|--copy-to)
      COMPREPLY=($(compgen -d -- "$cur"))
      return
      ;;
    --settings)
      COMPREPLY=($(compgen -f -- "$cur"))
      return
      ;;
    --preset)
      # The whole-job presets: the first kind morva-cli presets lists.
      local IFS=$'\n'
      COMPREPLY=($(compgen -W "$("${COMP_WORDS[0]}" presets 2>/dev/null | awk -F'\t' 'NR == 1 { kind = $1 } $1 == kind { print $2 }')" -- "$cur"))
      return
      ;;
    --set)
      local keys
      keys=$("${COMP_WORDS[0]}" keys 2>/dev/null | cut -f1)
      COMPREPLY=($(compgen -S = -W "$keys" -- "${cur^^}"))
      compopt -o nospace 2>/dev/null
      return
      ;;
  esac

  if [[ $cur == -* ]]; then
    COMPREPLY=($(compgen -W "--home --settings --preset --set --yes --copy-to --overwrite --version --help" -- "$cur"))
    return
  fi

  # The command, once; after it, targets (files and directories), or after log and undo the run
  # identifiers the log holds.
  local i word
  for ((i = 1; i < COMP_CWORD; i++)); do
    word=${COMP_WORDS[i]}
    case $word in
      log|undo)
        [[ ${COMP_WORDS[i-1]} != --* || ${COMP_WORDS[i-1]} == --yes || ${COMP_WORDS[i-1]} == --overwrite ]] || continue
        _morva_cli_run_ids "$i"
        return
        ;;
      check|preview|run|runs|eval|presets|keys|show)
        [[ ${COMP_WORDS[i-1]} != --* || ${COMP_WORDS[i-1]} == --yes || ${COMP_WORDS[i-1]} == --overwrite ]] || continue
        COMPREPLY=($(compgen -f -- "$cur"))
        return
        ;;
    esac
  done
  COMPREPLY=($(compgen -W "check preview run undo runs log eval presets keys show" -- "$cur"))
}

# The run identifiers of the log after log or undo (the command at index $1 of COMP_WORDS), asked of
# the morva-cli being completed with the same --home (`runs`). An identifier is a date and a time, which
# the command also takes as two words: the date is completed first, then the time. Bash splits a word
# at ':', so the words typed after the command are taken from the line itself.
_morva_cli_run_ids() {
  local home=() j
  for ((j = 1; j < $1; j++)); do
    case ${COMP_WORDS[j]} in
      --home) home=(--home "${COMP_WORDS[j+1]}") ;;
      --home=*) home=("${COMP_WORDS[j]}") ;;
    esac
  done
  local line=${COMP_LINE:0:COMP_POINT} typed=()
  read -ra typed <<< "$line"
  [[ $line == *[[:space:]] ]] && typed+=("")
  local command=${COMP_WORDS[$1]} n=${#typed[@]}
  local after=$((n - 1))
  while ((after > 0)) && [[ ${typed[after-1]} != "$command" ]]; do ((after--)); done
  ((after > 0)) || return
  local ids
  ids=$("${COMP_WORDS[0]}" "${home[@]}" runs 2>/dev/null | cut -f1)
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
