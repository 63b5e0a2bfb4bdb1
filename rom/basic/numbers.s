; Decimal numbers in command lines and listings.

        .include "../include/system.inc"
        .include "basic.inc"

        .import syntax_error, error
        .export parse_number, print_number, skip_spaces

        .segment "CODE"

; Skips spaces at (BPTR),Y; returns the first other character in A.
skip_spaces:
        lda (BPTR),y
        cmp #' '
        bne @out
        iny
        bne skip_spaces
@out:   rts

; Reads the decimal number at (BPTR),Y into NUMBER; Y ends after it.
; No digit is a syntax error, more than 65535 an illegal quantity.
parse_number:
        lda #0
        sta NUMBER
        sta NUMBER+1
        lda (BPTR),y
        jsr is_digit
        bcs @none
@digit: lda (BPTR),y
        jsr is_digit
        bcs @done
        pha
        ; NUMBER = NUMBER * 10 + digit
        lda NUMBER
        sta BTEMP
        lda NUMBER+1
        asl NUMBER
        rol NUMBER+1
        bcs @big
        asl NUMBER
        rol NUMBER+1
        bcs @big
        pha                     ; NUMBER*4 + NUMBER = NUMBER*5
        lda NUMBER
        clc
        adc BTEMP
        sta NUMBER
        pla
        adc NUMBER+1
        bcs @big
        sta NUMBER+1
        asl NUMBER
        rol NUMBER+1
        bcs @big
        pla
        sec
        sbc #'0'
        clc
        adc NUMBER
        sta NUMBER
        bcc @next
        inc NUMBER+1
        beq @too_big
@next:  iny
        bne @digit
@done:  rts
@none:  jmp syntax_error
@big:   pla
@too_big:
        ldx #MSG_QUANTITY
        jmp error

; Carry clear when A is '0'-'9'.
is_digit:
        cmp #'0'
        bcc @no
        cmp #'9'+1
        bcs @no
        clc
        rts
@no:    sec
        rts

; Prints NUMBER in decimal without leading zeros. Keeps X and Y.
print_number:
        txa
        pha
        tya
        pha
        lda #0
        sta DIGITS
        ldx #0                  ; power of ten: 10000, 1000, 100, 10
@power: ldy #'0'
@count: lda NUMBER
        sec
        sbc tens_low,x
        sta BTEMP
        lda NUMBER+1
        sbc tens_high,x
        bcc @digit
        sta NUMBER+1
        lda BTEMP
        sta NUMBER
        iny
        bne @count
@digit: tya
        cmp #'0'
        bne @print
        ldy DIGITS
        beq @skip
@print: jsr CHROUT
        sta DIGITS
@skip:  inx
        cpx #4
        bne @power
        lda NUMBER
        ora #'0'
        jsr CHROUT
        pla
        tay
        pla
        tax
        rts

        .segment "RODATA"

tens_low:   .byte <10000, <1000, <100, <10
tens_high:  .byte >10000, >1000, >100, >10
