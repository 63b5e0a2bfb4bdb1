; The computer's end of the 1551 routines' transfer: its own handshake on the cable's
; 6523 at $FEF0, none of the KERNAL's. Each byte is asked for by turning DAV over; the
; drive puts the byte on port A and answers with ACK at the same level. A request goes
; the other way: the computer drives port A and turns DAV for each byte, the drive
; answers when it has taken it.

        .export receiveSetup, receiveBegin, receiveByte, receiveEnd
        .export driveReady, requestBegin, requestByte, requestEnd

CABLE_DATA   = $FEF0            ; port A: the drive's byte
CABLE_STATUS = $FEF1            ; port B bits 0-1: the drive's status lines
CABLE_LINES  = $FEF2            ; port C: bit 6 DAV out, bit 7 ACK in
CABLE_DDRA   = $FEF3
DAV = $40
ACK = $80

        .zeropage
dav:    .res 1                  ; DAV as last set
ack:    .res 1                  ; the ACK level that answers it

        .code
receiveSetup:
        lda #0
        sta CABLE_DDRA          ; port A listens: the drive drives the lines now
        lda #DAV
        sta dav
        asl
        sta ack
        rts

; The routine shows it has taken over the cable, a block ready, with both status lines
; at 1, a state the DOS's own handshake never leaves standing.
receiveBegin:
        jsr driveReady
        bcc receiveBegin
        rts

; C set when a block is ready.
driveReady:
        lda CABLE_STATUS
        and #3
        cmp #3
        rts

; The next byte in A; X and Y are kept.
receiveByte:
        jsr turnDav
        jsr awaitAck
        lda CABLE_DATA
        rts

; Port A drives the cable once ACK stands at DAV's level, as the routine leaves it; C
; set when it does not within half a second or so.
requestBegin:
        lda #$FF
        sta CABLE_DDRA
        bne awaitAnswer

; A goes to the routine; C set when no routine answers in time (the DOS itself answers a
; turn of DAV only after one of the KERNAL's codes).
requestByte:
        sta CABLE_DATA
        jsr turnDav
awaitAnswer:
        ldx #0
        ldy #0
@wait:  lda CABLE_LINES
        and #ACK
        cmp ack
        beq @taken
        dex
        bne @wait
        dey
        bne @wait
        sec
        rts
@taken: clc
        rts

awaitAck:
        lda CABLE_LINES
        and #ACK
        cmp ack
        bne awaitAck
        rts

requestEnd:
        lda #0
        sta CABLE_DDRA
        rts

; The last byte is taken: one more turn lets the routine give the cable back.
receiveEnd:
turnDav:
        lda dav
        eor #DAV
        sta dav
        sta CABLE_LINES
        asl
        sta ack
        rts
