; LOAD from device 8, the 1551 on the parallel port at $FEF0-$FEF2. Every
; byte to the drive is a code byte (LISTEN/TALK bus command $83, channel $82,
; name byte $81, read request $84) or the byte that follows one, each closed
; by a toggle of the handshake line. The drive answers the handshake at
; once, but every wait is bounded so that a missing or stuck drive cannot
; hang the machine.

        .include "../include/system.inc"

        .export setlfs, setnam, load

CODE_NAME    = $81
CODE_CHANNEL = $82
CODE_BUS     = $83
CODE_READ    = $84

LISTEN    = $20
UNLISTEN  = $3F
TALK      = $40
UNTALK    = $5F
DATA_0    = $60
CLOSE_0   = $E0
OPEN_0    = $F0

STATUS_NOT_FOUND = 2
STATUS_LAST      = 3

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

; LOAD: loads the named file to the address in its first two bytes.
; Returns carry clear with the end address in X/Y (also in $9D/$9E), or
; carry set with the error code in A.
load:
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
@named: lda #$55                ; resets the drive's latch; nothing answers without a drive
        sta DRIVE_DATA
        lda DRIVE_DATA
        cmp #$55
        beq @present
        lda #ERR_NO_DEVICE
        sec
        rts

@present:
        lda #LISTEN
        jsr bus_command
        lda #OPEN_0
        jsr channel
        ldy #0
@name:  lda (FNADR),y
        jsr name_byte
        iny
        cpy FNLEN
        bne @name
        lda #UNLISTEN           ; the drive looks the name up here
        jsr bus_command
        lda DRIVE_STATUS
        cmp #STATUS_NOT_FOUND
        bne @found
        jsr close_file
        lda #ERR_NOT_FOUND
        sec
        rts

@found: lda #TALK
        jsr bus_command
        lda #DATA_0
        jsr channel
        jsr read_byte
        bcs @short
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
        lda #UNTALK
        jsr bus_command
close_file:
        lda #LISTEN
        jsr bus_command
        lda #CLOSE_0
        jsr channel
        lda #UNLISTEN
        jmp bus_command

bus_command:
        pha
        lda #CODE_BUS
        bne code_and_byte
channel:
        pha
        lda #CODE_CHANNEL
        bne code_and_byte
name_byte:
        pha
        lda #CODE_NAME
code_and_byte:
        jsr put
        pla
        ; fall through

; One byte to the drive, then a full handshake cycle.
put:
        sta DRIVE_DATA
        lda #$40
        sta DRIVE_HSHAKE
        ldx #0
@low:   lda DRIVE_HSHAKE
        beq @raise
        dex
        bne @low
@raise: lda #$00
        sta DRIVE_HSHAKE
        ldx #0
@high:  lda DRIVE_HSHAKE
        cmp #$FF
        beq @out
        dex
        bne @high
@out:   rts

; One byte from the drive in A; carry set when the drive marked it the last.
read_byte:
        lda #CODE_READ
        jsr put
        ldx DRIVE_STATUS
        stx DSTATUS
        lda DRIVE_DATA
        cpx #STATUS_LAST
        beq @last
        clc
        rts
@last:  sec
        rts
