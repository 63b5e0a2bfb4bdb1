; The computer's end of the 1541 routine's transfer on the serial bus: no KERNAL, two
; bits at a time on CLK and DATA. The computer asks for each byte by pulling DATA for a
; moment; the drive then shows the byte's bit pairs, highest first, DATA carrying the
; higher bit, each for 32 of its microseconds, and the computer reads them at fixed
; cycle counts from its own pull. The screen is blanked so the processor keeps its
; double clock (about 1.78 cycles a microsecond) throughout.
;
; A request goes the other way once the routine has greeted the computer: one bit per
; turn of CLK, the bit on DATA (pulled: 1) in the same write, each held for longer than
; the routine's loop that watches CLK takes.

        .export receiveSetup, receiveBegin, receiveByte, receiveEnd
        .export driveReady, requestBegin, requestByte, requestEnd

PORT       = $01                ; bit 0 DATA out, bit 1 CLK out, bit 2 ATN out; bit 6 CLK in, bit 7 DATA in
TED_SCREEN = $FF06              ; bit 4: the display is on

; The cycle plan (computer cycles, from the instruction that pulls DATA): DATA is held
; for 28 (16 us: the drive polls it every 9 us); the drive shows the first pair from 20 us
; after its poll saw the pull until 32 us later, so it is read at 71 (40 us), in the
; middle of what every poll allows; each next pair 57 cycles (32 us) later.
HOLD_DELAY   = 22
SAMPLE_DELAY = 40
PAIR_DELAY   = 51
BIT_HOLD     = 24               ; five cycles each: some 70 us a bit
DATA_PULL    = $01
CLK_PULL     = $02

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
lines:    .res 1                ; the port as a request last set it
wanted:   .res 1

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

; C set when a block is ready: CLK pulled.
driveReady:
        lda PORT
        eor #$40
        asl
        asl
        rts

; The greeting: once the routine has let DATA go, CLK is pulled until it answers with
; DATA, then let go until it lets DATA go again. C set when no routine answers within
; half a second or so.
requestBegin:
        lda #$80
        jsr awaitData
        bcs @none
        lda released
        ora #CLK_PULL
        sta PORT
        lda #$00
        jsr awaitData
        bcs @none
        lda released
        sta PORT
        sta lines
        lda #$80
        jsr awaitData
@none:  lda released
        sta PORT
        rts

; Waits for DATA at A's level (bit 7: 1 let go); C set when it does not come.
awaitData:
        sta wanted
        ldx #0
        ldy #0
@poll:  lda PORT
        and #$80
        cmp wanted
        beq @there
        dex
        bne @poll
        dey
        bne @poll
        sec
        rts
@there: clc
        rts

; A goes to the routine, highest bit first; C clear (the routine's answer is not
; awaited); X and Y are not kept.
requestByte:
        sta value
        ldx #8
@bit:   lda lines
        eor #CLK_PULL
        and #<~DATA_PULL
        asl value
        adc #0
        sta lines
        sta PORT
        ldy #BIT_HOLD
:       dey
        bne :-
        dex
        bne @bit
        clc
        rts

; Every request ends with a 0, whose last bit lets DATA go; CLK has turned an even
; number of times and is let go too.
requestEnd:
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
