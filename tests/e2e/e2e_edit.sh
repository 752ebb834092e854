#!/usr/bin/env bash
# Opens a tape file through File > Open and the real dialog, scrolls, stores, corrects a past line
# by clicking its entry cell, and saves through the dialog again: every later subtotal must be
# recomputed in the saved bytes.
# Usage: e2e_edit.sh BUILD_DIR
here=${BASH_SOURCE[0]%/*}
[ "$here" = "${BASH_SOURCE[0]}" ] && here=.
source "$here/e2e_lib.sh"
e2e_setup "${1:?usage: e2e_edit.sh BUILD_DIR}"

printf '"10  ","10"\r\n"5 +","15"\r\n"2 x","30"\r\n"4 -","26"\r\n"3 /","8.66666666666667"\r\n"1.5 +","10.1666666666667"\r\n' \
    >"$E2E_TMP/in.cal"

e2e_start_program
e2e_menu_dialog o 'Open'
e2e_dialog_choose "$E2E_TMP/in.cal"

# The view stands at line 6 on the bottom row. Up steps the scroll bar to 5 and then redraws one
# line further up, so line 4 ends on the bottom row; "s" stores the subtotal there.
xdotool key Up
sleep 0.2
e2e_type s

# Rows count from the bottom: with line 4 on row 0, line 2 is on row 2.
# Twips to pixels at 15 a pixel; the client area (7065 twips high) sits below the menu bar.
eval "$(xdotool getwindowgeometry --shell "$E2E_WIN")"
menubar=$((HEIGHT - (7065 + 7) / 15))
((menubar > 5 && menubar < 60)) || e2e_fail "window height $HEIGHT leaves no sensible menu bar ($menubar px)"
row=2
row_top=$((row == 0 ? 2730 : 2700 - 300 * row)) # the bottom row is set apart from the others
cell_x=$((X + ((810 + 3765) / 2 + 7) / 15))
cell_y=$((Y + menubar + (row_top + 140 + 7) / 15))
xdotool mousemove --sync "$cell_x" "$cell_y" click 1
sleep 0.3
# The editor opens with the line's number selected: typing replaces it, "+" writes it back.
e2e_type '7+'
sleep 0.2

e2e_menu_dialog s 'Save As'
e2e_dialog_choose "$E2E_TMP/out.cal"
e2e_expect_file "$E2E_TMP/out.cal" \
    '"10  ","10"\r\n"7 +","17"\r\n"2 x","34"\r\n"4 -","30"\r\n"3 /","10"\r\n"1.5 +","11.5"\r\n'

e2e_screenshot end
e2e_quit_program
e2e_log "passed"
