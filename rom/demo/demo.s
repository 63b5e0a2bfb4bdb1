; The open ROM's demo: a colour chart of all sixteen hues in eight
; luminances, raster-interrupt colour bars, a smooth scroller, a tune on both
; voices with noise bursts, and a ball moved by joystick or cursor keys.
; RUN/STOP goes back to BASIC.

        .include "../include/system.inc"

BAR_FIRST    = 92               ; TED lines of text rows 11-13
BAR_LINES    = 24
SCROLL_FIRST = 131              ; row 16 is drawn on lines 132-139
SCROLL_LAST  = 139
SPLIT_LINE   = 90               ; interrupt above the bars
FRAME_LINE   = 204              ; interrupt below the text window

SCROLL_ROW   = 16
BOX_TOP      = 18
BOX_BOTTOM   = 22
BALL_CHAR    = $51
NOTE_FRAMES  = 12

ptr          = $F8              ; demo scratch, clear of the KERNAL's zero page
ptr2         = $FA

        .segment "LOADADDR"
        .word $1001

        .segment "STUB"         ; 10 SYS4109
        .word @next
        .word 10
        .byte $9E, "4109", 0
@next:  .word 0

        .segment "CODE"
start:
        .assert start = 4109, error, "the SYS line names the wrong address"
        sei
        lda CINV
        sta old_irq
        lda CINV+1
        sta old_irq+1
        lda #0
        sta quit
        sta phase
        sta frame
        sta bar_offset
        sta note
        sta note_timer
        sta noise_timer
        sta scroll_fine
        sta scroll_pos
        sta move_timer
        sta fire_held
        lda #7
        sta scroll_fine
        lda #20
        sta ball_col
        lda #20
        sta ball_row
        lda #$77
        sta ball_colour

        jsr draw_screen
        jsr start_sound

        lda #<demo_irq
        sta CINV
        lda #>demo_irq
        sta CINV+1
        lda #SPLIT_LINE
        sta TED_RASTER
        lda #$02
        sta TED_IRQENA
        cli

@wait:  lda quit
        beq @wait

        ; back to BASIC as it was
        sei
        lda old_irq
        sta CINV
        lda old_irq+1
        sta CINV+1
        lda #FRAME_LINE
        sta TED_RASTER
        lda #$08
        sta TED_CTRL2
        lda #BG_COLOUR
        sta TED_BGCOL
        lda #BORDER_COLOUR
        sta TED_BORDER
        lda #0
        sta TED_SOUND
        lda #$FF
        sta TED_IRQREQ
        cli
        lda #$93
        jsr CHROUT
        rts

; ---- the screen ----

draw_screen:
        lda #$00
        sta TED_BGCOL
        sta TED_BORDER
        lda #$71
        sta TEXTCOL
        lda #$93
        jsr CHROUT
        lda #$03                ; the KERNAL's cursor stays out of the picture
        sta TED_CURHI
        lda #$FF
        sta TED_CURLO

        ; the title, one hue per letter
        ldx #0
@title: lda title,x
        beq @chart
        jsr to_screen
        sta SCREEN+10,x
        txa
        and #15
        tay
        lda rainbow,y
        sta COLOURS+10,x
        inx
        bne @title

        ; sixteen hues across, luminance 0-7 down, rows 3-10
@chart: ldx #0                  ; luminance
@lum:   lda row_addr_low+3,x
        sta ptr
        sta ptr2
        lda row_addr_high+3,x
        sta ptr+1
        clc
        adc #>(COLOURS-SCREEN)
        sta ptr2+1
        ; label "L0".."L7"
        ldy #1
        lda #$0C                ; L
        sta (ptr),y
        lda #$71
        sta (ptr2),y
        iny
        txa
        ora #$30
        sta (ptr),y
        lda #$71
        sta (ptr2),y
        ; the sixteen colour cells, two characters each
        ldy #4
@hue:   tya
        sec
        sbc #4
        lsr
        sta KTEMP               ; hue
        txa
        asl
        asl
        asl
        asl
        ora KTEMP
        sta (ptr2),y
        lda #$A0                ; reversed space: a block of the attribute colour
        sta (ptr),y
        iny
        cpy #36
        bne @hue
        inx
        cpx #8
        bne @lum

        ; captions and the ball's box
        ldx #0
@text:  lda captions,x
        beq @box
        tay                     ; row
        lda row_addr_low,y
        sta ptr
        sta ptr2
        lda row_addr_high,y
        sta ptr+1
        clc
        adc #>(COLOURS-SCREEN)
        sta ptr2+1
        lda captions+1,x        ; column
        sta KTEMP
        lda captions+2,x        ; colour
        sta KTEMP2
        inx
        inx
        inx
@char:  lda captions,x
        inx
        cmp #0
        beq @text
        ldy KTEMP
        jsr to_screen
        sta (ptr),y
        lda KTEMP2
        sta (ptr2),y
        inc KTEMP
        bne @char

@box:   ldy #39
@edges: lda #$40                ; horizontal line
        sta SCREEN+BOX_TOP*40,y
        sta SCREEN+BOX_BOTTOM*40,y
        lda #$3D
        sta COLOURS+BOX_TOP*40,y
        sta COLOURS+BOX_BOTTOM*40,y
        dey
        bpl @edges
        ldx #BOX_TOP+1
@sides: lda row_addr_low,x
        sta ptr
        sta ptr2
        lda row_addr_high,x
        sta ptr+1
        clc
        adc #>(COLOURS-SCREEN)
        sta ptr2+1
        ldy #0
        lda #$42                ; vertical line
        sta (ptr),y
        lda #$3D
        sta (ptr2),y
        ldy #39
        lda #$42
        sta (ptr),y
        lda #$3D
        sta (ptr2),y
        inx
        cpx #BOX_BOTTOM
        bne @sides

        ; the scroller row starts blank, in rainbow colours
        ldy #39
@srow:  lda #$20
        sta SCREEN+SCROLL_ROW*40,y
        tya
        lsr
        and #15
        tax
        lda rainbow,x
        sta COLOURS+SCROLL_ROW*40,y
        dey
        bpl @srow
        jmp draw_ball

; ASCII capitals, digits and punctuation to screen codes.
to_screen:
        cmp #$40
        bcc @same
        and #$3F
@same:  rts

; ---- the interrupt: bars above, everything else below the window ----

demo_irq:
        lda TED_IRQREQ
        sta TED_IRQREQ
        and #$02
        bne @raster
        jmp IRQ_RETURN
@raster:
        lda phase
        bne @frame
        jsr bars
        lda #FRAME_LINE
        sta TED_RASTER
        lda #1
        sta phase
        jmp IRQ_RETURN
@frame: jsr frame_work
        lda #SPLIT_LINE
        sta TED_RASTER
        lda #0
        sta phase
        jmp IRQ_RETURN

; Follows the beam line by line: each new line gets the next bar colour in
; background and border (the TED takes them at the next line start), then
; the scroller's fine scroll is switched on for its row only.
bars:
        lda TED_LINELO
        sta last_line
@line:  lda TED_LINELO
        cmp last_line
        beq @line
        sta last_line
        cmp #SCROLL_LAST+1
        bcs @done
        cmp #SCROLL_FIRST
        beq @scroll_on
        cmp #SCROLL_LAST
        beq @scroll_off
        sec
        sbc #BAR_FIRST
        bcc @line
        cmp #BAR_LINES
        beq @plain
        bcs @line
        clc
        adc bar_offset
        and #31
        tax
        lda bar_colours,x
        sta TED_BGCOL
        sta TED_BORDER
        jmp @line
@plain: lda #$00
        sta TED_BGCOL
        sta TED_BORDER
        jmp @line
@scroll_on:
        lda scroll_fine
        ora #$08
        sta TED_CTRL2
        jmp @line
@scroll_off:
        lda #$08
        sta TED_CTRL2
        jmp @line
@done:  rts

frame_work:
        inc frame
        lda frame
        and #1
        bne @bars_still
        inc bar_offset
@bars_still:
        jsr scroll_step
        jsr read_input
        jsr move_ball
        jsr music_step
        rts

; ---- scroller ----

scroll_step:
        dec scroll_fine
        bpl @out
        lda #7
        sta scroll_fine
        ldx #0
@left:  lda SCREEN+SCROLL_ROW*40+1,x
        sta SCREEN+SCROLL_ROW*40,x
        inx
        cpx #39
        bne @left
        ldx scroll_pos
        lda message,x
        bne @char
        ldx #0
        stx scroll_pos
        lda message
@char:  inc scroll_pos
        jsr to_screen
        sta SCREEN+SCROLL_ROW*40+39
@out:   rts

; ---- input: joystick in either port, cursor keys, space, RUN/STOP ----

; Leaves bits 0 up, 1 down, 2 left, 3 right, 4 fire set in `input`.
read_input:
        lda #0
        sta input
        lda #$FF                ; no keyboard rows: joysticks alone
        sta KEYROWS
        lda #$F8
        sta TED_KEYLATCH
        lda TED_KEYLATCH
        eor #$FF
        tax
        and #$0F
        sta input
        txa
        and #$C0                ; fire of port 1 or port 2
        beq @keys
        lda #$10
        ora input
        sta input
@keys:  ldx #0
@row:   lda key_rows,x
        sta KEYROWS
        lda #$FF
        sta TED_KEYLATCH
        lda TED_KEYLATCH
        and key_columns,x
        bne @up
        lda input
        ora key_bits,x
        sta input
@up:    inx
        cpx #key_count
        bne @row
        lda #$FF
        sta KEYROWS
        lda input
        and #$20
        beq @out
        sta quit
@out:   rts

; ---- the ball ----

move_ball:
        lda input
        and #$10
        beq @no_fire
        lda fire_held
        bne @moves
        inc fire_held
        lda ball_colour
        clc
        adc #$01
        and #$0F
        ora #$70
        cmp #$70                ; no black ball
        bne @colour
        lda #$71
@colour:
        sta ball_colour
        lda #12
        sta noise_timer
        jmp @moves
@no_fire:
        lda #0
        sta fire_held
@moves: dec move_timer
        bpl @draw
        lda #3
        sta move_timer
        jsr erase_ball
        lda input
        lsr
        bcc @no_up
        ldx ball_row
        dex
        cpx #BOX_TOP
        beq @wall
        stx ball_row
@no_up: lda input
        and #$02
        beq @no_down
        ldx ball_row
        inx
        cpx #BOX_BOTTOM
        beq @wall
        stx ball_row
@no_down:
        lda input
        and #$04
        beq @no_left
        ldx ball_col
        dex
        beq @wall
        stx ball_col
@no_left:
        lda input
        and #$08
        beq @draw
        ldx ball_col
        inx
        cpx #39
        beq @wall
        stx ball_col
        jmp @draw
@wall:  lda #4
        sta noise_timer
@draw:  jmp draw_ball

ball_cell:
        ldx ball_row
        lda row_addr_low,x
        sta ptr
        sta ptr2
        lda row_addr_high,x
        sta ptr+1
        clc
        adc #>(COLOURS-SCREEN)
        sta ptr2+1
        ldy ball_col
        rts

erase_ball:
        jsr ball_cell
        lda #$20
        sta (ptr),y
        rts

draw_ball:
        jsr ball_cell
        lda #BALL_CHAR
        sta (ptr),y
        lda ball_colour
        sta (ptr2),y
        rts

; ---- sound: melody on voice 1, bass on voice 2, noise bursts on voice 2 ----

start_sound:
        lda #$38                ; voices 1 and 2 square, volume 8
        sta TED_SOUND
        lda #0
        sta note
        jmp play_note

music_step:
        lda noise_timer
        beq @tune
        dec noise_timer
        beq @noise_off
        lda #$58                ; voice 1 and noise, volume 8
        sta TED_SOUND
        lda #<900
        sta TED_V2FREQ
        lda #>900
        sta TED_V2HI
        jmp @tune
@noise_off:
        lda #$38
        sta TED_SOUND
        jsr set_bass
@tune:  inc note_timer
        lda note_timer
        cmp #NOTE_FRAMES
        bcc music_done
        lda #0
        sta note_timer
        inc note
        lda note
        cmp #melody_length
        bcc play_note
        lda #0
        sta note
play_note:
        lda note
        asl
        tax
        lda melody,x
        sta TED_V1FREQ
        lda TED_CHARCTL         ; keep the character-set bits
        and #$FC
        ora melody+1,x
        sta TED_CHARCTL
        lda noise_timer
        bne music_done
set_bass:
        lda note
        lsr                     ; one bass note per four melody notes
        and #$FE
        tax
        lda bass,x
        sta TED_V2FREQ
        lda bass+1,x
        sta TED_V2HI
music_done:
        rts

        .segment "RODATA"

title:  .byte "VARNOK OPEN ROM DEMO", 0

; row, column, colour, text
captions:
        .byte 1, 6, $51, "16 HUES IN 8 LUMINANCES", 0
        .byte 14, 2, $75, "RASTER BARS ABOVE, SMOOTH SCROLL BELOW", 0
        .byte 23, 0, $67, "JOYSTICK/CURSOR: BALL  FIRE/SPACE: NOISE", 0
        .byte 24, 7, $53, "RUN/STOP: BACK TO BASIC", 0
        .byte 0

message:
        .byte "WELCOME TO VARNOK, THE COMMODORE 16 AND PLUS/4 EMULATOR, "
        .byte "RUNNING ITS OWN FREE ROM. VOICE 1 PLAYS THE TUNE, VOICE 2 "
        .byte "THE BASS, AND THE NOISE CHANNEL ANSWERS THE FIRE BUTTON.     ", 0

rainbow:
        .byte $72, $78, $77, $7A, $75, $7C, $73, $7D
        .byte $7E, $76, $74, $7B, $72, $78, $77, $75

; Eight hues, each ramped up and down through the luminances.
bar_colours:
        .byte $02, $12, $32, $52, $72, $52, $32, $12
        .byte $08, $18, $38, $58, $78, $58, $38, $18
        .byte $05, $15, $35, $55, $75, $55, $35, $15
        .byte $06, $16, $36, $56, $76, $56, $36, $16

; Keyboard rows and columns read for the ball: up, down, left, right, space, RUN/STOP.
key_rows:    .byte $DF, $DF, $BF, $BF, $7F, $7F
key_columns: .byte $08, $01, $01, $08, $10, $80
key_bits:    .byte $01, $02, $04, $08, $10, $20
key_count = * - key_bits

row_addr_low:
        .repeat ROWS, row
        .byte <(SCREEN + row * 40)
        .endrepeat
row_addr_high:
        .repeat ROWS, row
        .byte >(SCREEN + row * 40)
        .endrepeat

; TED values: 1024 - 111860.781 / frequency.
C3 = 169
F3 = 383
G3 = 453
A2 = 7
D4 = 643
E4 = 685
F4 = 704
G4 = 739
A4 = 770
B4 = 798
C5 = 810
D5 = 834

melody:
        .word E4, G4, C5, G4,  E4, A4, C5, A4,  F4, A4, C5, A4,  D4, G4, B4, D5
melody_length = (* - melody) / 2
bass:
        .word C3, A2, F3, G3

        .segment "BSS"
old_irq:      .res 2
quit:         .res 1
phase:        .res 1
frame:        .res 1
bar_offset:   .res 1
last_line:    .res 1
scroll_fine:  .res 1
scroll_pos:   .res 1
input:        .res 1
fire_held:    .res 1
move_timer:   .res 1
ball_row:     .res 1
ball_col:     .res 1
ball_colour:  .res 1
note:         .res 1
note_timer:   .res 1
noise_timer:  .res 1
