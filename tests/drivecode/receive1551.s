; The computer's end of the 1551 routine's transfer: its own handshake on the cable's
; 6523 at $FEF0, none of the KERNAL's. Each byte is asked for by turning DAV over; the
; drive puts the byte on port A and answers with ACK at the same level.

        .export receiveSetup, receiveBegin, receiveByte, receiveEnd

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
        rts

; The routine shows it has taken over the cable with both status lines at 1, a state
; the DOS's own handshake never leaves standing.
receiveBegin:
        lda CABLE_STATUS
        and #3
        cmp #3
        bne receiveBegin
        rts

; The next byte in A; Y is kept.
receiveByte:
        jsr turnDav
:       lda CABLE_LINES
        and #ACK
        cmp ack
        bne :-
        lda CABLE_DATA
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
