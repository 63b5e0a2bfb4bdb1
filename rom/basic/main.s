; The open BASIC: start-up banner, the READY loop and the command dispatcher.
; It keeps no program lines of its own; it lists and starts what LOAD brought
; in and runs a handful of direct commands.

        .include "../include/system.inc"
        .include "basic.inc"

        .import cmd_load, cmd_save, cmd_list, cmd_run, cmd_sys, cmd_new, cmd_scnclr
        .import cmd_ds, cmd_at
        .import print_number, skip_spaces
        .export ready, syntax_error, error, expect_end, new_program

        .segment "HEADER"       ; $8000, called by the KERNAL
        jmp cold
        jmp warm

        .segment "CODE"

cold:
        ldx #$FF
        txs
        lda #<$1001
        sta TXTTAB
        lda #>$1001
        sta TXTTAB+1
        jsr new_program
        jsr PRIMM
        .byte $93, $0D, "   **** VARNOK OPEN ROM V", VERSION_TEXT, " ****", $0D, $0D, " ", 0
        jsr ram_size
        jsr PRIMM
        .byte "K RAM", $0D, $0D
        ; What this BASIC is for, in one line of the screen's two rows of 40.
        .byte "MACHINE CODE: LOAD, SAVE, LIST, RUN, SYS"
        .byte "FULL BASIC NEEDS THE MACHINE'S OWN ROMS.", $0D, 0
        ; fall into ready

ready:
        jsr PRIMM
        .byte "READY.", $0D, 0
main_loop:
        ldx #$FF
        txs
        cli
        jsr read_line
        jsr execute
        jmp main_loop

warm:
        ldx #$FF
        txs
        cli
        jmp ready

; 16, 32 or 64 KB: smaller machines mirror their RAM at the higher addresses.
RAM_PROBE = $03F0
ram_size:
        lda #0
        sta RAM_PROBE
        lda #$A5
        sta RAM_PROBE+$4000
        lda RAM_PROBE
        ldx #16
        cmp #$A5
        beq @print
        lda #$5A
        sta RAM_PROBE+$8000     ; under ROM: lands in RAM, folded in a 32 KB machine
        lda RAM_PROBE
        ldx #32
        cmp #$5A
        beq @print
        ldx #64
@print: stx NUMBER
        lda #0
        sta NUMBER+1
        sta RAM_PROBE
        jmp print_number

; Reads one line from the screen editor into BUF, zero-terminated.
read_line:
        ldy #0
@next:  jsr CHRIN
        cmp #$0D
        beq @end
        cpy #BUFLEN
        bcs @next               ; too long: the rest is dropped
        sta BUF,y
        iny
        bne @next
@end:   lda #0
        sta BUF,y
        rts

; Runs the line in BUF. Commands end in ready (or an error); an empty line
; returns quietly.
execute:
        lda #<BUF
        sta BPTR
        lda #>BUF
        sta BPTR+1
        ldy #0
        jsr skip_spaces
        cmp #0
        bne @words
        rts
@words: sty TXTIDX
        ldx #0                  ; offset of the keyword in the table
@keyword:
        ldy TXTIDX
        lda keywords,x
        beq @unknown
@compare:
        lda keywords,x
        beq @matched
        cmp (BPTR),y
        bne @skip
        inx
        iny
        bne @compare
@skip:  inx                     ; to the zero after this keyword
        lda keywords,x
        bne @skip
        inx                     ; past the zero and the handler index
        inx
        jmp @keyword
@matched:
        lda keywords+1,x
        tax
        lda handler_high,x
        pha
        lda handler_low,x
        pha
        rts                     ; into the handler with Y after the keyword
@unknown:
        jmp syntax_error

; Y indexes the rest of a command: only spaces may follow.
expect_end:
        jsr skip_spaces
        cmp #0
        bne syntax_error
        rts

new_program:
        lda #0
        tay
        sta (TXTTAB),y
        iny
        sta (TXTTAB),y
        lda TXTTAB
        sec
        sbc #1
        sta BPTR
        lda TXTTAB+1
        sbc #0
        sta BPTR+1
        lda #0
        tay
        sta (BPTR),y
        lda TXTTAB
        clc
        adc #2
        sta VARTAB
        sta ARYTAB
        sta STREND
        lda TXTTAB+1
        adc #0
        sta VARTAB+1
        sta ARYTAB+1
        sta STREND+1
        rts

syntax_error:
        ldx #MSG_SYNTAX
; X = message number. Prints "?<message> ERROR" and returns to READY.
error:
        lda #$0D
        jsr CHROUT
        lda #'?'
        jsr CHROUT
        lda message_low,x
        sta BPTR
        lda message_high,x
        sta BPTR+1
        ldy #0
@text:  lda (BPTR),y
        beq @end
        jsr CHROUT
        iny
        bne @text
@end:   jsr PRIMM
        .byte " ERROR", $0D, 0
        jmp ready

        .segment "RODATA"

; Each keyword, its terminating zero, then its handler's number.
keywords:
        .byte "LOAD", 0, 0
        .byte "LIST", 0, 1
        .byte "RUN", 0, 2
        .byte "SYS", 0, 3
        .byte "NEW", 0, 4
        .byte "SCNCLR", 0, 5
        .byte "SAVE", 0, 6
        .byte "DS$", 0, 7
        .byte "@", 0, 8
        .byte 0

handler_low:
        .byte <(cmd_load-1), <(cmd_list-1), <(cmd_run-1), <(cmd_sys-1)
        .byte <(cmd_new-1), <(cmd_scnclr-1), <(cmd_save-1), <(cmd_ds-1), <(cmd_at-1)
handler_high:
        .byte >(cmd_load-1), >(cmd_list-1), >(cmd_run-1), >(cmd_sys-1)
        .byte >(cmd_new-1), >(cmd_scnclr-1), >(cmd_save-1), >(cmd_ds-1), >(cmd_at-1)


message_low:
        .byte <msg_syntax, <msg_quantity, <msg_fnf, <msg_device, <msg_noname, <msg_load
message_high:
        .byte >msg_syntax, >msg_quantity, >msg_fnf, >msg_device, >msg_noname, >msg_load

msg_syntax:   .byte "SYNTAX", 0
msg_quantity: .byte "ILLEGAL QUANTITY", 0
msg_fnf:      .byte "FILE NOT FOUND", 0
msg_device:   .byte "DEVICE NOT PRESENT", 0
msg_noname:   .byte "MISSING FILE NAME", 0
msg_load:     .byte "LOAD", 0
