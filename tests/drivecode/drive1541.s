; The 1541's part of the drive routine: its DOS's job queue, its head behind VIA2 (port
; A the GCR byte, port B bit 7 no sync, byte ready setting the processor's V flag), and
; the two-bit transfer on the serial bus through VIA1 (receive1541.s has the other end).

JOB_CODE   = $00                ; job queue of buffer 0
JOB_TRACK  = $06
JOB_SECTOR = $07
BUFFER     = $0300              ; buffer 0
gcrHead    = $0400              ; buffer 1

SERIAL = $1800                  ; VIA1 port B: bit 0 DATA in, bit 1 DATA out, bit 3 CLK out
HEAD   = $1C01                  ; VIA2 port A
MOTOR  = $1C00                  ; VIA2 port B
CONTROL = $1C0C                 ; VIA2 PCR: CA2 high lets byte ready set V

; The DOS lets byte ready reach the processor only while its interrupt serves jobs.
.macro HEAD_READS
        lda CONTROL
        ora #$0E
        sta CONTROL
.endmacro

.macro WAIT_SYNC
:       bit MOTOR
        bmi :-
        lda HEAD
        clv
.endmacro

.macro READ_GCR
:       bvc :-
        clv
        lda HEAD
.endmacro

; An even number of cycles: a call of a bare RTS takes twelve.
.macro delay cycles
        .repeat cycles / 12
        jsr justReturn
        .endrepeat
        .repeat (cycles .mod 12) / 2
        nop
        .endrepeat
.endmacro

        .include "drive_main.inc"

        .segment "DRIVE"
sendSetup:
        rts

; Ready for the first request of a sector: CLK pulled.
sendBegin:
        lda #$08
        sta SERIAL
sendEnd:
        rts

; A goes to the computer, two bits at a time once it pulls DATA, each pair 32 cycles
; on the lines (a 1 lets its line go); Y is kept.
sendByte:
        sta value
        lsr
        lsr
        lsr
        lsr
        lsr
        lsr
        tax
        lda pairLines,x
        sta pairs
        lda value
        lsr
        lsr
        lsr
        lsr
        and #3
        tax
        lda pairLines,x
        sta pairs+1
        lda value
        lsr
        lsr
        and #3
        tax
        lda pairLines,x
        sta pairs+2
        lda value
        and #3
        tax
        lda pairLines,x
        tax
:       lda SERIAL              ; the computer pulls DATA: from here it counts
        lsr
        bcc :-
        delay 8
        lda pairs               ; shown 20 cycles after the poll that saw the pull
        sta SERIAL
        delay 24
        lda pairs+1
        sta SERIAL
        delay 24
        lda pairs+2
        sta SERIAL
        delay 28
        stx SERIAL
        delay 26
        lda #0
        sta SERIAL
        rts

justReturn:
        rts

; A pair (DATA's bit, CLK's bit) as VIA1's outputs: a 0 pulls its line.
pairLines:
        .byte $0A, $02, $08, $00

        .segment "DRIVEBSS"
value: .res 1
pairs: .res 3
