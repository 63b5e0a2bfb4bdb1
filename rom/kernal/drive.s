; LOAD and SAVE with drive 8, the 1551 on the parallel port (kernal/bus.s
; speaks the bus). A load reads channel 0, a save writes channel 1; what the
; drive thinks of a request it answers on its error channel, 15.

        .include "../include/system.inc"

        .import bus_command, channel, name_byte, read_byte, drive_present
        .export setlfs, setnam, load, save

STATUS_NOT_FOUND = 2            ; the first byte read: the channel did not open

        .segment "CODE"

; SETLFS: A = logical file, X = device, Y = secondary address.
setlfs:
        sta LA
        stx FA
        sty SA
        rts

; SETNAM: A = name length, X/Y = name address.
setnam:
        sta FNLEN
        stx FNADR
        sty FNADR+1
        rts

; Device 8, a name and a drive answering: carry clear, else carry set with A
; the error code.
check_file:
        lda FA
        cmp #8
        beq @device
        lda #ERR_BAD_DEVICE
        sec
        rts
@device:
        lda FNLEN
        bne @named
        lda #ERR_NO_NAME
        sec
        rts
@named: jsr drive_present
        bcc @out
        lda #ERR_NO_DEVICE
@out:   rts

; LISTEN, the secondary address in A (an OPEN), the name, UNLISTEN. Whether
; the drive opened the channel shows at the first byte read from it, and on
; its error channel.
open_named:
        pha
        lda #BUS_LISTEN
        jsr bus_command
        pla
        jsr channel
        ldy #0
@name:  lda (FNADR),y
        jsr name_byte
        iny
        cpy FNLEN
        bne @name
        lda #BUS_UNLISTEN       ; the drive looks the name up here
        jmp bus_command

; LOAD: loads the named file to the address in its first two bytes.
; Returns carry clear with the end address in X/Y (also in $9D/$9E), or
; carry set with the error code in A.
load:
        jsr check_file
        bcc @present
        rts
@present:
        lda #SA_OPEN+0
        jsr open_named
        lda #BUS_TALK
        jsr bus_command
        lda #SA_DATA+0
        jsr channel
        jsr read_byte
        bcc @found
        lda DSTATUS
        cmp #STATUS_NOT_FOUND
        bne @short
        jsr end_talk
        lda #ERR_NOT_FOUND
        sec
        rts
@found:
        sta LOADPTR
        jsr read_byte
        bcs @short
        sta LOADPTR+1
        lda #0
        sta LOADCOUNT
        sta LOADCOUNT+1
@data:  jsr read_byte
        php
        jsr store_byte
        plp
        bcs @done
        inc LOADCOUNT
        bne @data
        inc LOADCOUNT+1
        bne @data
@short: jsr end_talk            ; no end mark within 64 KB, or no load address
        lda #ERR_LOAD
        sec
        rts
@done:  jsr end_talk
        ldx LOADPTR
        ldy LOADPTR+1
        stx LOADEND
        sty LOADEND+1
        clc
        rts

; Bytes that would land on the zero page, the stack, the KERNAL's pages or
; the I/O area are dropped, so a stray load address cannot wreck the machine.
store_byte:
        ldx LOADPTR+1
        cpx #$04
        bcc @skip
        cpx #$FD
        bcs @skip
        ldy #0
        sta (LOADPTR),y
@skip:  inc LOADPTR
        bne @out
        inc LOADPTR+1
@out:   rts

end_talk:
        lda #BUS_UNTALK
        jsr bus_command
        lda #SA_CLOSE+0
        ; fall through

; LISTEN, the CLOSE secondary address in A, UNLISTEN.
close_channel:
        pha
        lda #BUS_LISTEN
        jsr bus_command
        pla
        jsr channel
        lda #BUS_UNLISTEN
        jmp bus_command

; SAVE: A = the zero-page address of a pointer to the first byte, X/Y = the
; address after the last. Sends the start address and the bytes to a file of
; the name SETNAM gave on channel 1. Carry set with A = 5 (no drive), 8 (no
; name) or 9 (not device 8); otherwise carry clear, and the drive's error
; channel says whether the file was written (FILE EXISTS, DISK FULL...).
save:
        stx LOADCOUNT           ; the end
        sty LOADCOUNT+1
        tax
        lda $00,x
        sta LOADPTR
        lda $01,x
        sta LOADPTR+1
        jsr check_file
        bcs @out
        lda #SA_OPEN+1
        jsr open_named          ; a refused name leaves channel 1 closed: the bytes go nowhere
        lda #BUS_LISTEN
        jsr bus_command
        lda #SA_DATA+1
        jsr channel
        lda LOADPTR
        jsr name_byte
        lda LOADPTR+1
        jsr name_byte
        ldy #0
@data:  lda LOADPTR
        cmp LOADCOUNT
        lda LOADPTR+1
        sbc LOADCOUNT+1
        bcs @sent
        lda (LOADPTR),y
        jsr name_byte
        inc LOADPTR
        bne @data
        inc LOADPTR+1
        bne @data
@sent:  lda #BUS_UNLISTEN
        jsr bus_command
        lda #SA_CLOSE+1         ; the drive writes the file now
        jsr close_channel
        clc
@out:   rts
