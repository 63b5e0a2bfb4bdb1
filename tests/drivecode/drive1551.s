; The 1551's part of the drive routine: its DOS's job queue, its head behind the 6510T's
; port (bit 7 byte ready) and the 6523 at $4000 (port B the GCR byte, port C bit 6 no
; sync), and the transfer to the computer on the same chip's port A with a handshake of
; its own: each turn of DAV (port C bit 7) asks for a byte, ACK (port C bit 3) answers
; at DAV's level once the byte is on port A.

JOB_CODE   = $02                ; job queue of buffer 0
JOB_TRACK  = $08
JOB_SECTOR = $09
BUFFER     = $0300              ; buffer 0
gcrHead    = $0400              ; buffer 1

CPU_PORT  = $01
TIA_DATA  = $4000               ; port A: the byte to the computer
TIA_HEAD  = $4001               ; port B: the GCR byte under the head
TIA_LINES = $4002               ; port C: bits 0-1 status, bit 3 ACK out, bit 6 no sync, bit 7 DAV in
TIA_DDRA  = $4003
ACK = $08
DAV = $80

.macro HEAD_READS
.endmacro

; The DOS's own way: reading the cable's port acknowledges a byte.
.macro WAIT_SYNC
:       lda TIA_LINES
        and #$40
        bne :-
        lda TIA_HEAD
        bit TIA_DATA
.endmacro

.macro READ_GCR
:       bit CPU_PORT
        bpl :-
        bit TIA_DATA
        lda TIA_HEAD
.endmacro

        .include "drive_main.inc"

        .segment "DRIVE"
; Port A drives the cable, and both status lines at 1 tell the computer so.
sendSetup:
        lda #DAV
        sta dav
sendBegin:
        lda #$FF
        sta TIA_DDRA
        lda TIA_LINES
        ora #$03
        sta TIA_LINES
        rts

; A goes to the computer; Y is kept.
sendByte:
        tax
        jsr awaitDav
        stx TIA_DATA
        lda dav
        lsr
        lsr
        lsr
        lsr
        sta ackLevel
        lda TIA_LINES
        and #<~ACK
        ora ackLevel
        sta TIA_LINES
        rts

; The computer's last turn says it has the last byte: the cable is the DOS's again.
sendEnd:
        jsr awaitDav
        lda #0
        sta TIA_DDRA
        lda TIA_LINES
        and #$FC
        ora #ACK
        sta TIA_LINES
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
dav:      .res 1
ackLevel: .res 1
