; The drive's error channel and disk commands: DS$ prints the drive's status
; line; @ prints it too, and @"S:NAME" (or @S:NAME) first sends the command to
; the drive's command channel. After SAVE, and when a LOAD fails, the line is
; shown unless it says 00.

        .include "../include/system.inc"
        .include "basic.inc"

        .import ready, error, expect_end, skip_spaces
        .export cmd_ds, cmd_at, io_error, report_status

SA_COMMAND = SA_DATA+15         ; the command and error channel

        .segment "CODE"

; Reads the status line into DSBUF, zero-terminated and without its RETURN.
; Carry set when no drive answers.
read_status:
        lda #8
        jsr TALK
        bcs @out
        lda #SA_COMMAND
        jsr TKSA
        lda #DSBUF_LEN-1        ; a drive that never marks the end cannot overrun DSBUF
        sta BTEMP
        ldy #0
@byte:  jsr ACPTR
        php
        cmp #$0D
        beq @skip
        sta DSBUF,y
        iny
@skip:  plp
        bcs @end
        dec BTEMP
        bne @byte
@end:   lda #0
        sta DSBUF,y
        jsr UNTLK
        clc
@out:   rts

print_status:
        ldy #0
@char:  lda DSBUF,y
        beq @end
        jsr CHROUT
        iny
        bne @char
@end:   lda #$0D
        jmp CHROUT

; Z set when the status line starts with the digits in X and Y.
status_is:
        cpx DSBUF
        bne @out
        cpy DSBUF+1
@out:   rts

show_status:
        jsr read_status
        bcs no_drive
        jsr print_status
        jmp ready
no_drive:
        ldx #MSG_DEVICE
        jmp error

; DS$
cmd_ds:
        jsr expect_end
        jmp show_status

; @ alone, @"COMMAND" or @COMMAND.
cmd_at:
        jsr skip_spaces
        cmp #0
        beq show_status
        lda #8
        jsr LISTEN
        bcs no_drive
        lda #SA_COMMAND
        jsr SECOND
        ldx #0                  ; the character that ends the command: 0, or a quote
        lda (BPTR),y
        cmp #'"'
        bne @text
        tax
        iny
@text:  stx BTEMP
@next:  lda (BPTR),y
        beq @sent
        cmp BTEMP
        beq @sent
        jsr CIOUT
        iny
        bne @next
@sent:  jsr UNLSN
        jmp show_status

; After SAVE: the status line, unless the drive says 00.
report_status:
        jsr read_status
        bcs @out
        ldx #'0'
        ldy #'0'
        jsr status_is
        beq @out
        jsr print_status
@out:   rts

; A failed LOAD or SAVE, A = the KERNAL's error code. When the drive did not
; open the file, its status line tells a missing file from one it could not
; read (a broken chain, FILE TOO LARGE); the latter shows the line and LOAD ERROR.
io_error:
        cmp #ERR_NOT_FOUND
        bne @map
        jsr read_status
        bcs @not_found
        ldx #'6'
        ldy #'2'
        jsr status_is
        beq @not_found
        ldx #'0'
        ldy #'0'
        jsr status_is
        beq @not_found
        jsr print_status
        ldx #MSG_LOADING
        jmp error
@not_found:
        ldx #MSG_FNF
        jmp error
@map:   ldx #MSG_NONAME
        cmp #ERR_NO_NAME
        beq @report
        ldx #MSG_DEVICE
        cmp #ERR_NO_DEVICE
        beq @report
        cmp #ERR_BAD_DEVICE
        beq @report
        ldx #MSG_LOADING
@report:
        jmp error
