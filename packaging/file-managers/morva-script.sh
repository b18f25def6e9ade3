#!/bin/sh
# MORVAで一括変換: a script for the Scripts menu of Nautilus, Nemo and Caja. Copy it, under that name,
# to ~/.local/share/nautilus/scripts/, ~/.local/share/nemo/scripts/ or ~/.config/caja/scripts/ and make it
# executable. The file manager passes the selected local files and folders as arguments; a running
# MORVA takes them as its targets, otherwise MORVA starts with them.
exec morva "$@"
