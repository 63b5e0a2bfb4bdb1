; The computer's end of the 1541 routine's transfer on the serial bus: no KERNAL, two
; bits at a time on CLK and DATA. The computer asks for each byte by pulling DATA for a
; moment; the drive then shows the byte's bit pairs, highest first, DATA carrying the
; higher bit, each for 32 of its microseconds, and the computer reads them at fixed
; cycle counts from its own pull. The screen is blanked so the processor keeps its
; double clock (about 1.78 cycles a microsecond) throughout.

        .export receiveSetup, receiveBegin, receiveByte, receiveEnd

PORT       = $01                ; bit 0 DATA out, bit 1 CLK out, bit 2 ATN out; bit 6 CLK in, bit 7 DATA in
TED_SCREEN = $FF06              ; bit 4: the display is on

; The cycle plan (computer cycles, from the instruction that pulls DATA): DATA is held
; for 28 (16 us: the drive polls it every 9 us); the drive shows the first pair from 20 us
; after its poll saw the pull until 32 us later, so it is read at 71 (40 us), in the
; middle of what every poll allows; each next pair 57 cycles (32 us) later.
HOLD_DELAY   = 22
SAMPLE_DELAY = 40
PAIR_DELAY   = 51

.macro delay cycles
        .if cycles .mod 2
        bit value               ; three cycles
        .repeat (cycles - 3) / 2
        nop
        .endrepeat
        .else
        .repeat cycles / 2
        nop
        .endrepeat
        .endif
.endmacro

        .zeropage
released: .res 1                ; the port with all three lines let go
pulling:  .res 1                ; and with DATA pulled
pairs:    .res 4
value:    .res 1

        .code
receiveSetup:
        lda TED_SCREEN
        and #$EF
        sta TED_SCREEN
        lda PORT
        and #$F8
        sta released
        sta PORT
        ora #$01
        sta pulling
        rts

; The routine has read its sector and pulls CLK when it waits for the first request;
; it then still needs a moment before it polls DATA.
receiveBegin:
        bit PORT
        bvs receiveBegin
        ldx #40
:       dex
        bne :-
        rts

; The next byte in A; Y is kept.
receiveByte:
        lda pulling
        sta PORT
        delay HOLD_DELAY
        lda released
        sta PORT
        delay SAMPLE_DELAY
        lda PORT
        sta pairs
        delay PAIR_DELAY
        lda PORT
        sta pairs+1
        delay PAIR_DELAY
        lda PORT
        sta pairs+2
        delay PAIR_DELAY
        lda PORT
        sta pairs+3
        lda #0                  ; bits 7-6 of each read, the first read highest
        sta value
        ldx #0
@pair:  lda pairs,x
        rol
        rol
        rol
        and #3
        asl value
        asl value
        ora value
        sta value
        inx
        cpx #4
        bne @pair
        ldx #44                 ; the drive lets the lines go and readies its next byte
:       dex
        bne :-
        lda value
receiveEnd:
        rts
