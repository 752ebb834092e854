#!/usr/bin/env bash
# Keys a tape into the real window and saves it through File > Save As and the real file dialog;
# the file must hold exactly the lines the tape shows.
# Usage: e2e_save.sh BUILD_DIR
here=${BASH_SOURCE[0]%/*}
[ "$here" = "${BASH_SOURCE[0]}" ] && here=.
source "$here/e2e_lib.sh"
e2e_setup "${1:?usage: e2e_save.sh BUILD_DIR}"
e2e_start_program

# 12.5 is line 1 (its own subtotal, no operator); then x3, -4, /2.
e2e_type '12.5+'
e2e_type '3*'
e2e_type '4-'
e2e_type '2/'

e2e_menu_dialog s 'Save As'
e2e_dialog_choose "$E2E_TMP/saved tape.cal"
e2e_expect_file "$E2E_TMP/saved tape.cal" \
    '"12.5  ","12.5"\r\n"3 x","37.5"\r\n"4 -","33.5"\r\n"2 /","16.75"\r\n'

e2e_screenshot end
e2e_quit_program
e2e_log "passed"
