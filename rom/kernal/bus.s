; The 1551 bus on the parallel cable at $FEF0-$FEF5, and the KERNAL's bus
; entry points over it (LISTEN, SECOND, CIOUT, UNLSN, TALK, TKSA, ACPTR, UNTLK).
; Every byte is a code byte on the data lines (bus command $81, secondary
; address $82, data byte $83, read request $84) and then the byte itself, in
; one handshake: the drive takes the code and lowers its ACK (bit 7 of $FEF2),
; the computer puts the byte out and lowers DAV (bit 6), the drive answers
; with ACK high and a status in bits 0-1 of $FEF1, DAV goes high again. A
; read hands the data lines to the drive for the byte and takes them back in
; a second DAV cycle. Every wait is bounded so that a missing or stuck drive
; cannot hang the machine. All of these keep Y.

        .include "../include/system.inc"

        .export bus_command, channel, name_byte, read_byte, drive_present, bus_init
        .export listen, second, ciout, unlsn, talk, tksa, acptr, untlk

CODE_BUS     = $81
CODE_CHANNEL = $82
CODE_NAME    = $83
CODE_READ    = $84

DRIVE_DDRA   = $FEF3
DRIVE_DDRB   = $FEF4
DRIVE_DDRC   = $FEF5
DAV_HIGH     = $40

STATUS_NONE  = 2                ; the channel has nothing to send
STATUS_BITS  = 3                ; 3: the last byte

        .segment "CODE"

; The computer drives the data lines and DAV (high); the drive's status and
; ACK are inputs.
bus_init:
        lda #$FF
        sta DRIVE_DDRA
        lda #0
        sta DRIVE_DDRB
        sta DRIVE_DATA
        lda #DAV_HIGH
        sta DRIVE_DDRC
        sta DRIVE_HSHAKE
        rts

; Carry clear when a drive answers: the cable's port reads back the $55
; written to it, and the drive shows no "nothing to send" status. Without a
; drive the page reads 0.
drive_present:
        lda #$55
        sta DRIVE_DATA
        eor DRIVE_DATA
        bne @no
        lda DRIVE_STATUS
        and #STATUS_NONE
        bne @no
        clc
        rts
@no:    sec
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
        jsr code_out
        pla
        sta DRIVE_DATA
        lda #0                  ; DAV low: the byte is on the lines
        sta DRIVE_HSHAKE
        jsr wait_ack_high
        lda DRIVE_STATUS
        and #STATUS_BITS
        sta DSTATUS
        ; fall through

; The data lines back to rest and DAV high: the handshake is over.
dav_high:
        lda #0
        sta DRIVE_DATA
        lda #DAV_HIGH
        sta DRIVE_HSHAKE
        rts

; One byte from the drive in A; carry set when the drive marked it the last
; or had nothing to send (then A is a CR). The port status goes to DSTATUS.
read_byte:
        lda #CODE_READ
        jsr code_out
        lda #0                  ; the data lines are the drive's for the byte
        sta DRIVE_DDRA
        sta DRIVE_HSHAKE
        jsr wait_ack_high
        lda DRIVE_STATUS
        and #STATUS_BITS
        sta DSTATUS
        lda DRIVE_DATA
        pha
        lda #DAV_HIGH
        sta DRIVE_HSHAKE
        jsr wait_ack_low
        lda #$FF                ; and the computer's again
        sta DRIVE_DDRA
        lda #0
        sta DRIVE_DATA
        sta DRIVE_HSHAKE
        jsr wait_ack_high
        jsr dav_high
        pla
        ldx DSTATUS
        beq @more
        sec
        rts
@more:  clc
        rts

; A code byte on the data lines; the drive takes it and lowers ACK.
code_out:
        sta DRIVE_DATA
        ; fall through

wait_ack_low:
        ldx #0
@wait:  bit DRIVE_HSHAKE
        bpl @out
        dex
        bne @wait
@out:   rts

wait_ack_high:
        ldx #0
@wait:  bit DRIVE_HSHAKE
        bmi @out
        dex
        bne @wait
@out:   rts
