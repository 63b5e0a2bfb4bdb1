; The direct commands: LOAD, SAVE, LIST, RUN, SYS, NEW and SCNCLR.

        .include "../include/system.inc"
        .include "basic.inc"

        .import ready, syntax_error, error, expect_end, new_program
        .import parse_number, print_number, skip_spaces, print_token
        .import io_error, report_status
        .export cmd_load, cmd_save, cmd_list, cmd_run, cmd_sys, cmd_new, cmd_scnclr

NAME_MAX = 16
TOKEN_SYS = $9E

        .segment "CODE"

; "NAME"[,device[,secondary]] and the end of the line: the name goes to FNBUF
; and FNLEN, the device to NUMBER (8 when none is given). Errors end the command.
parse_file:
        jsr skip_spaces
        cmp #'"'
        beq @quoted
        cmp #0
        bne @syntax
        ldx #MSG_NONAME
        jmp error
@syntax:
        jmp syntax_error
@quoted:
        iny
        ldx #0
@name:  lda (BPTR),y
        beq @named
        iny
        cmp #'"'
        beq @named
        cpx #NAME_MAX
        bcs @syntax
        sta FNBUF,x
        inx
        bne @name
@named: stx FNLEN
        lda #8
        sta NUMBER
        lda #0
        sta NUMBER+1
        jsr skip_spaces
        cmp #','
        bne @end
        iny
        jsr skip_spaces
        jsr parse_number
        jsr skip_spaces
        cmp #','
        bne @end
        iny
        jsr skip_spaces
        lda NUMBER              ; the secondary address changes nothing here
        pha
        jsr parse_number
        pla
        sta NUMBER
@end:   jsr expect_end
        lda NUMBER+1
        beq @small
        lda #$FF
        sta NUMBER
@small: lda FNLEN
        bne @given
        ldx #MSG_NONAME
        jmp error
@given: ldx #<FNBUF
        ldy #>FNBUF
        jmp SETNAM

; Prints the name in FNBUF and a RETURN.
echo_name:
        ldy #0
@echo:  lda FNBUF,y
        jsr CHROUT
        iny
        cpy FNLEN
        bne @echo
        lda #$0D
        jmp CHROUT

; LOAD"NAME"[,device[,secondary]] loads to the address the file names.
cmd_load:
        jsr parse_file
        jsr PRIMM
        .byte $0D, "SEARCHING FOR ", 0
        jsr echo_name
        lda #1
        ldx NUMBER
        ldy #0
        jsr SETLFS
        lda #0
        jsr LOAD
        bcs @failed
        stx VARTAB
        sty VARTAB+1
        stx ARYTAB
        sty ARYTAB+1
        stx STREND
        sty STREND+1
        jsr PRIMM
        .byte "LOADING", $0D, 0
        jmp ready
@failed:
        jmp io_error

; SAVE"NAME"[,device] writes the program, TXTTAB up to VARTAB, with its
; address. The drive's status line follows unless it says 00, so a save the
; drive refused (FILE EXISTS, DISK FULL, WRITE PROTECT ON) never looks done.
cmd_save:
        jsr parse_file
        jsr PRIMM
        .byte $0D, "SAVING ", 0
        jsr echo_name
        lda #1
        ldx NUMBER
        ldy #1
        jsr SETLFS
        lda #TXTTAB
        ldx VARTAB
        ldy VARTAB+1
        jsr SAVE
        bcs @failed
        jsr report_status
        jmp ready
@failed:
        jmp io_error

; LIST prints the program in memory: each line's number and its text, with
; keywords spelled out outside quotes.
cmd_list:
        jsr expect_end
        lda TXTTAB
        sta BPTR
        lda TXTTAB+1
        sta BPTR+1
@line:  ldy #1
        lda (BPTR),y
        beq @done               ; a zero link ends the program
        jsr STOP
        beq @done
        ; a link that does not lead forwards would list forever
        lda (BPTR),y
        cmp BPTR+1
        bcc @done
        bne @forward
        dey
        lda (BPTR),y
        cmp BPTR
        bcc @done
        beq @done
@forward:
        ldy #2
        lda (BPTR),y
        sta NUMBER
        iny
        lda (BPTR),y
        sta NUMBER+1
        jsr print_number
        lda #' '
        jsr CHROUT
        lda #0
        sta QUOTE
        ldy #4
@text:  lda (BPTR),y
        beq @end_line
        cmp #'"'
        bne @not_quote
        pha
        lda QUOTE
        eor #1
        sta QUOTE
        pla
@not_quote:
        cmp #$80
        bcc @plain
        ldx QUOTE
        bne @plain
        jsr print_token
        jmp @next
@plain: jsr print_text_char
@next:  iny
        bne @text
@end_line:
        lda #$0D
        jsr CHROUT
        ldy #0
        lda (BPTR),y
        tax
        iny
        lda (BPTR),y
        stx BPTR
        sta BPTR+1
        jmp @line
@done:  jmp ready

; Printable characters and the reverse switches go out; other control codes
; in a listing would move the cursor or clear the screen, so they are dropped.
print_text_char:
        cmp #$12
        beq @out
        cmp #$92
        beq @out
        cmp #$20
        bcc @drop
        cmp #$80
        bcc @out
        cmp #$A0
        bcc @drop
@out:   jmp CHROUT
@drop:  rts

; RUN starts a program whose first line is SYS and an address, the form
; machine-code programs are saved in.
cmd_run:
        jsr expect_end
        lda TXTTAB
        sta BPTR
        lda TXTTAB+1
        sta BPTR+1
        ldy #1
        lda (BPTR),y
        bne @program
        jmp ready
@program:
        ldy #4
        jsr skip_spaces
        cmp #TOKEN_SYS
        beq @token
        cmp #'S'
        bne @syntax
        iny
        lda (BPTR),y
        cmp #'Y'
        bne @syntax
        iny
        lda (BPTR),y
        cmp #'S'
        bne @syntax
@token: iny
        jsr skip_spaces
        jsr parse_number
        jmp call_number
@syntax:
        jmp syntax_error

; SYS address calls machine code; RTS comes back to READY.
cmd_sys:
        jsr skip_spaces
        jsr parse_number
        jsr expect_end
call_number:
        jsr @call
        jmp ready
@call:  jmp (NUMBER)

cmd_new:
        jsr expect_end
        jsr new_program
        jmp ready

cmd_scnclr:
        jsr expect_end
        lda #$93
        jsr CHROUT
        jmp ready
