; The drive's end of the 1541 routines' transfer on the serial bus, through VIA1: the
; drive pulls CLK when a block waits, then sends each byte two bits at a time once the
; computer pulls DATA (receive1541.s has the other end). The computer sends a request
; one bit per turn of CLK, the bit on DATA at the same moment, after a greeting that
; finds the routine listening with its interrupts off.

        .include "drive1541.inc"

        .export sendSetup, sendBegin, sendByte, sendLast, sendDone, sendEnd
        .export linkSetup, awaitRequest, takeByte

DATA_IN  = $01
DATA_OUT = $02
CLK_IN   = $04
CLK_OUT  = $08

; An even number of cycles: a call of a bare RTS takes twelve.
.macro delay cycles
        .repeat cycles / 12
        jsr justReturn
        .endrepeat
        .repeat (cycles .mod 12) / 2
        nop
        .endrepeat
.endmacro

        .segment "DRIVE"
sendSetup:
        rts

; Ready for the first request of a block: CLK pulled.
sendBegin:
        lda #CLK_OUT
        sta SERIAL
; The last byte has left with the lines let go: nothing more to wait for.
sendDone:
sendEnd:
        rts

; Both lines let go.
linkSetup:
        lda #0
        sta SERIAL
        rts

; A goes to the computer, two bits at a time once it pulls DATA, each pair 32 cycles
; on the lines (a 1 lets its line go); Y is kept. The lines are let go at the end, so a
; block's last byte needs nothing more.
sendLast:
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

; Waits, letting the DOS's interrupt run (it turns the motor off), until the computer
; pulls CLK; answers with DATA, its interrupts now off, until CLK is let go.
awaitRequest:
        cli
:       lda SERIAL
        and #CLK_IN
        beq :-
        sei
        lda #DATA_OUT
        sta SERIAL
:       lda SERIAL
        and #CLK_IN
        bne :-
        sta clkLevel
        sta SERIAL
        rts

; The computer's next byte in A, highest bit first: each bit is DATA (pulled: 1) as CLK
; turns; the computer holds each for longer than this loop takes. Y is kept.
takeByte:
        ldx #8
@bit:   lda SERIAL
        sta lines
        and #CLK_IN
        cmp clkLevel
        beq @bit
        sta clkLevel
        lda lines
        lsr
        rol value
        dex
        bne @bit
        lda value
        rts

justReturn:
        rts

; A pair (DATA's bit, CLK's bit) as VIA1's outputs: a 0 pulls its line.
pairLines:
        .byte $0A, $02, $08, $00

        .segment "DRIVEBSS"
value:    .res 1
pairs:    .res 3
lines:    .res 1
clkLevel: .res 1
