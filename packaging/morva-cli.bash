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

  # The command, once; after it, targets (files and directories).
  local i word
  for ((i = 1; i < COMP_CWORD; i++)); do
    word=${COMP_WORDS[i]}
    case $word in
      check|preview|run|undo|runs|eval|presets|keys|show)
        [[ ${COMP_WORDS[i-1]} != --* || ${COMP_WORDS[i-1]} == --yes || ${COMP_WORDS[i-1]} == --overwrite ]] || continue
        COMPREPLY=($(compgen -f -- "$cur"))
        return
        ;;
    esac
  done
  COMPREPLY=($(compgen -W "check preview run undo runs eval presets keys show" -- "$cur"))
}

complete -F _morva_cli morva-cli
