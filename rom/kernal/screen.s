; The screen editor: printing with cursor control and colours (CHROUT), the
; line input that reads back what is on the screen (CHRIN), cursor placement
; (PLOT) and the hardware cursor that marks where typing goes.

        .include "../include/system.inc"

        .import getin
        .export screen_init, clear_screen, chrout, chrin, plot, screensize
        .export primm, show_cursor, hide_cursor

INLINE = $02A0                  ; the line RETURN took from the screen, 40 bytes

        .segment "CODE"

screen_init:
        lda #TEXT_COLOUR
        sta TEXTCOL
        lda #0
        sta REVERSE
        sta INPENDING
        rts

clear_screen:
        pha
        txa
        pha
        ldx #0
@fill:  lda #$20
        sta SCREEN,x
        sta SCREEN+250,x
        sta SCREEN+500,x
        sta SCREEN+750,x
        lda TEXTCOL
        sta COLOURS,x
        sta COLOURS+250,x
        sta COLOURS+500,x
        sta COLOURS+750,x
        inx
        cpx #250
        bne @fill
        jsr home
        pla
        tax
        pla
        rts

home:
        lda #0
        sta CURCOL
        sta CURROW
        jmp set_line

; LINEPTR and COLPTR follow CURROW.
set_line:
        ldx CURROW
        lda row_low,x
        sta LINEPTR
        sta COLPTR
        lda row_high,x
        clc
        adc #>SCREEN
        sta LINEPTR+1
        lda row_high,x
        clc
        adc #>COLOURS
        sta COLPTR+1
        rts

; The TED draws its cursor over cell (CURHI*256 + CURLO); 1000 and up hide it.
show_cursor:
        pha
        lda CURCOL
        clc
        adc LINEPTR
        sta TED_CURLO
        lda LINEPTR+1
        adc #0
        sec
        sbc #>SCREEN
        sta TED_CURHI
        pla
        rts

hide_cursor:
        pha
        lda #$03
        sta TED_CURHI
        lda #$FF
        sta TED_CURLO
        pla
        rts

; CHROUT: prints the character in A; keeps A, X and Y.
chrout:
        pha
        txa
        pha
        tya
        pha
        tsx
        lda $0103,x
        jsr put_char
        jsr show_cursor
        pla
        tay
        pla
        tax
        pla
        clc
        rts

put_char:
        cmp #$0D
        beq newline
        cmp #$8D
        beq newline
        cmp #$20
        bcc control
        cmp #$80
        bcc printable
        cmp #$A0
        bcc control
printable:
        jsr to_screen_code
        ora REVERSE
        ldy CURCOL
        sta (LINEPTR),y
        lda TEXTCOL
        sta (COLPTR),y
        ; fall into cursor right

cursor_right:
        inc CURCOL
        lda CURCOL
        cmp #COLUMNS
        bcc done
        lda #0
        sta CURCOL
        jmp line_down

newline:
        lda #0
        sta CURCOL
        sta REVERSE
line_down:
        inc CURROW
        lda CURROW
        cmp #ROWS
        bcc @same
        jsr scroll_up
        lda #ROWS-1
        sta CURROW
@same:  jmp set_line

control:
        ldx #control_count-1
@find:  cmp control_codes,x
        beq found_control
        dex
        bpl @find
        ldx #15                 ; colour codes
@colour:
        cmp colour_codes,x
        beq set_colour
        dex
        bpl @colour
done:   rts
set_colour:
        lda colour_attributes,x
        sta TEXTCOL
        rts
found_control:
        lda control_high,x
        pha
        lda control_low,x
        pha
        rts

cursor_up:
        lda CURROW
        beq done
        dec CURROW
        jmp set_line

cursor_left:
        lda CURCOL
        beq @wrap
        dec CURCOL
        rts
@wrap:  lda CURROW
        beq done
        dec CURROW
        lda #COLUMNS-1
        sta CURCOL
        jmp set_line

; DEL pulls the rest of the line one cell to the left.
delete:
        ldy CURCOL
        beq done
@pull:  lda (LINEPTR),y
        dey
        sta (LINEPTR),y
        iny
        lda (COLPTR),y
        dey
        sta (COLPTR),y
        iny
        iny
        cpy #COLUMNS
        bcc @pull
        dey
        lda #$20
        sta (LINEPTR),y
        dec CURCOL
        rts

; INST opens a space at the cursor; the last cell of the line falls off.
insert:
        ldy #COLUMNS-1
@push:  cpy CURCOL
        beq @open
        dey
        lda (LINEPTR),y
        iny
        sta (LINEPTR),y
        dey
        lda (COLPTR),y
        iny
        sta (COLPTR),y
        dey
        jmp @push
@open:  lda #$20
        sta (LINEPTR),y
        lda TEXTCOL
        sta (COLPTR),y
        rts

reverse_on:
        lda #$80
        sta REVERSE
        rts

reverse_off:
        lda #0
        sta REVERSE
        rts

; Rows 1-24 move up one row, characters and attributes; the last row is cleared.
; The 960 bytes move in four blocks of six rows, lowest first and each finished
; before the next starts: a block reads the first row of the one above it, so
; interleaving the blocks would copy rows that were already overwritten.
SCROLL_BLOCK = 6 * COLUMNS
scroll_up:
        .repeat 4, block
        ldx #0
:       lda SCREEN+COLUMNS+block*SCROLL_BLOCK,x
        sta SCREEN+block*SCROLL_BLOCK,x
        lda COLOURS+COLUMNS+block*SCROLL_BLOCK,x
        sta COLOURS+block*SCROLL_BLOCK,x
        inx
        cpx #SCROLL_BLOCK
        bne :-
        .endrepeat
        ldx #COLUMNS-1
@clear: lda #$20
        sta SCREEN+960,x
        lda TEXTCOL
        sta COLOURS+960,x
        dex
        bpl @clear
        rts

; PETSCII to screen code, for the printable ranges $20-$7F and $A0-$FF.
to_screen_code:
        cmp #$FF
        beq @pi
        cmp #$40
        bcc @same               ; $20-$3F
        cmp #$60
        bcc @minus40            ; $40-$5F: letters and [ pound ] arrows
        cmp #$80
        bcc @minus20            ; $60-$7F: graphics
        cmp #$C0
        bcc @minus40            ; $A0-$BF: graphics
        and #$7F                ; $C0-$FE: graphics
@same:  rts
@minus20:
        sec
        sbc #$20
        rts
@minus40:
        sec
        sbc #$40
        rts
@pi:    lda #$5E
        rts

; Screen code (reverse bit ignored) back to PETSCII, for CHRIN.
from_screen_code:
        and #$7F
        cmp #$20
        bcc @letter
        cmp #$40
        bcc @same
        cmp #$60
        bcc @graphic
        ora #$A0                ; $60-$7F become $A0-$BF
        and #$BF
        rts
@graphic:
        clc
        adc #$80                ; $40-$5F become $C0-$DF
        rts
@letter:
        ora #$40
@same:  rts

; CHRIN: the first call lets the user edit the screen until RETURN, takes
; the cursor's row as the line, then returns it one character per call and
; a carriage return at its end. Keeps X and Y.
chrin:
        txa
        pha
        tya
        pha
        lda INPENDING
        bne @next
@wait:  jsr show_cursor
        jsr getin
        cmp #0
        beq @wait
        cmp #$0D
        beq @take
        jsr chrout
        jmp @wait
@take:  ldy #COLUMNS-1
@trim:  lda (LINEPTR),y
        cmp #$20
        bne @end
        dey
        bpl @trim
@end:   iny
        sty INEND
        dey
        bmi @copied
@copy:  lda (LINEPTR),y
        jsr from_screen_code
        sta INLINE,y
        dey
        bpl @copy
@copied:
        lda #0
        sta INPOS
        lda #1
        sta INPENDING
        lda #$0D
        jsr chrout
@next:  ldy INPOS
        cpy INEND
        bcs @eol
        lda INLINE,y
        inc INPOS
        jmp @out
@eol:   lda #0
        sta INPENDING
        lda #$0D
@out:   sta KTEMP
        pla
        tay
        pla
        tax
        lda KTEMP
        clc
        rts

; PLOT: with carry set returns the cursor row in X and column in Y; with
; carry clear moves the cursor there (a position off the screen is ignored).
plot:
        bcc @set
        ldx CURROW
        ldy CURCOL
        rts
@set:   cpx #ROWS
        bcs @off
        cpy #COLUMNS
        bcs @off
        stx CURROW
        sty CURCOL
        txa
        pha
        tya
        pha
        jsr set_line
        jsr show_cursor
        pla
        tay
        pla
        tax
        clc
        rts
@off:   sec
        rts

screensize:
        ldx #COLUMNS
        ldy #ROWS
        rts

; PRIMM: prints the zero-terminated text that follows the JSR and returns
; behind it. Keeps A, X and Y.
primm:
        pha
        txa
        pha
        tya
        pha
        tsx
        lda $0104,x             ; return address - 1 = byte before the text
        sta KPTR2
        lda $0105,x
        sta KPTR2+1
@next:  inc KPTR2
        bne @read
        inc KPTR2+1
@read:  ldy #0
        lda (KPTR2),y
        beq @end
        jsr chrout
        jmp @next
@end:   tsx
        lda KPTR2
        sta $0104,x
        lda KPTR2+1
        sta $0105,x
        pla
        tay
        pla
        tax
        pla
        rts

        .segment "RODATA"

row_low:
        .repeat ROWS, row
        .byte <(row * COLUMNS)
        .endrepeat
row_high:
        .repeat ROWS, row
        .byte >(row * COLUMNS)
        .endrepeat

control_codes:
        .byte $93, $13, $11, $91, $1D, $9D, $14, $94, $12, $92
control_count = * - control_codes
control_low:
        .byte <(clear_screen-1), <(home-1), <(line_down-1), <(cursor_up-1)
        .byte <(cursor_right-1), <(cursor_left-1), <(delete-1), <(insert-1)
        .byte <(reverse_on-1), <(reverse_off-1)
control_high:
        .byte >(clear_screen-1), >(home-1), >(line_down-1), >(cursor_up-1)
        .byte >(cursor_right-1), >(cursor_left-1), >(delete-1), >(insert-1)
        .byte >(reverse_on-1), >(reverse_off-1)

; The sixteen colour keys: CTRL 1-8 and Commodore 1-8.
colour_codes:
        ;     black white red  cyan purple green blue yellow
        .byte $90,  $05,  $1C, $9F, $9C,   $1E,  $1F, $9E
        ;     orange brown yl-green pink bl-green lt-blue dk-blue lt-green
        .byte $81,   $95,  $96,     $97, $98,     $99,    $9A,    $9B
colour_attributes:
        .byte $00,  $71,  $32, $53, $44,   $35,  $46, $67
        .byte $48,   $39,  $5A,     $5B, $4C,     $5D,    $3E,    $5F
