; The 1551 bus on the parallel port at $FEF0-$FEF2, and the KERNAL's bus entry
; points over it (LISTEN, SECOND, CIOUT, UNLSN, TALK, TKSA, ACPTR, UNTLK). Every
; byte to the drive is a code byte (bus command $83, secondary address $82,
; data byte $81, read request $84) or the byte that follows one, each closed
; by a toggle of the handshake line. The drive answers the handshake at once,
; but every wait is bounded so that a missing or stuck drive cannot hang the
; machine. All of these keep Y.

        .include "../include/system.inc"

        .export bus_command, channel, name_byte, read_byte, drive_present
        .export listen, second, ciout, unlsn, talk, tksa, acptr, untlk

CODE_NAME    = $81
CODE_CHANNEL = $82
CODE_BUS     = $83
CODE_READ    = $84

STATUS_LAST  = 3

        .segment "CODE"

; Carry clear when a drive answers: it reads back the $55 written to its latch
; (and takes it as the start of a new request). Without a drive the port reads 0.
drive_present:
        lda #$55
        sta DRIVE_DATA
        lda DRIVE_DATA
        cmp #$55
        beq @yes
        sec
        rts
@yes:   clc
        rts

; LISTEN ($FFB1) and TALK ($FFB4): A = device. Carry set with A = 5 when it is
; not 8 or no drive answers.
listen: jsr device_check
        bcs out
        lda #BUS_LISTEN
        bne command_ok
talk:   jsr device_check
        bcs out
        lda #BUS_TALK
command_ok:
        jsr bus_command
        clc
out:    rts

device_check:
        cmp #8
        bne @absent
        jsr drive_present
        bcc @out
@absent:
        lda #ERR_NO_DEVICE
        sec
@out:   rts

; UNLSN ($FFAE) and UNTLK ($FFAB).
unlsn:  lda #BUS_UNLISTEN
        jmp bus_command
untlk:  lda #BUS_UNTALK
        jmp bus_command

; SECOND ($FF93) and TKSA ($FF96): A = the secondary address with $60 (data),
; $E0 (close) or $F0 (open) added, as the caller sends it.
second:
tksa:   jmp channel

; CIOUT ($FFA8): A = a byte for the listening drive.
ciout:  jmp name_byte

; ACPTR ($FFA5): the next byte from the talking drive in A; carry set when the
; drive marked it the last. The port status goes to DSTATUS.
acptr:  jmp read_byte

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
