; The drive's end of the 1551 routines' transfer on the cable, with a handshake of its
; own: each turn of DAV (port C bit 7) asks for a byte, ACK (port C bit 3) answers at
; DAV's level once the byte is on port A. The computer asks for bytes the same way when
; it sends them (port A then the drive's input). Both status lines at 1 tell the computer
; that a block waits for it, a state the DOS's own handshake never leaves standing.

        .include "drive1551.inc"

        .export sendSetup, sendBegin, sendByte, sendLast, sendDone, sendEnd
        .export linkSetup, awaitRequest, takeByte

ACK = $08
DAV = $80

        .segment "DRIVE"
; Port A drives the cable at once, as the drive code test's routine wants.
sendSetup:
        jsr linkSetup
; A block is ready: port A drives the cable, both status lines at 1.
sendBegin:
        lda #$FF
        sta TIA_DDRA
        lda TIA_LINES
        ora #$03
        sta TIA_LINES
        rts

; The DOS runs M-E before the computer has ended the KERNAL's handshake of the
; command's last byte: DAV is back at rest (1) once it has. From then on port A listens,
; no block is ready, and ACK stands at DAV's level: the computer's first turn is answered
; only by the routine.
linkSetup:
        lda #DAV
        sta dav
        lda #0
        sta TIA_DDRA
        lda TIA_LINES
        and #$FC
        ora #ACK
        sta TIA_LINES
        rts

; A goes to the computer; X and Y are kept.
sendByte:
        pha
        lda #$FF                ; the status lines stay
        bne send
; The same for a block's last byte: the status lines drop with the answer, so the
; computer never sees a block ready that it has taken.
sendLast:
        pha
        lda #$FC
send:   sta keep
        jsr awaitDav
        pla
        sta TIA_DATA
        lda keep
; ACK at DAV's level; the status lines ANDed with A.
answer: and TIA_LINES
        and #<~ACK
        sta keep
        lda dav
        lsr
        lsr
        lsr
        lsr
        ora keep
        sta TIA_LINES
        rts

; The computer's next turn says it has the last byte: port A listens again, no block
; is ready, and ACK answers the turn.
sendDone:
        jsr awaitDav
        lda #0
        sta TIA_DDRA
        lda #$FC
        bne answer

; The same, and ACK at rest: the cable is the DOS's again.
sendEnd:
        jsr sendDone
        lda TIA_LINES
        ora #ACK
        sta TIA_LINES
        rts

; Waits, letting the DOS's interrupt run (it turns the motor off), for the computer's
; first turn of DAV.
awaitRequest:
        cli
:       lda TIA_LINES
        eor dav
        and #DAV
        beq :-
        sei
        rts

; The computer's next byte in A; X and Y are kept.
takeByte:
        jsr awaitDav
        lda TIA_DATA
        pha
        lda #$FF
        jsr answer
        pla
        rts

awaitDav:
        lda dav
        eor #DAV
        sta dav
:       lda TIA_LINES
        and #DAV
        cmp dav
        bne :-
        rts

        .segment "DRIVEBSS"
dav:  .res 1
keep: .res 1
