; Power-on and reset: bring the TED, the screen and the interrupt up, then
; hand over to BASIC in the low image.

        .include "../include/system.inc"

        .import clear_screen, screen_init, irq_default, brk_default, bus_init
        .export reset, ioinit, cint

        .segment "CODE"

reset:
        sei
        cld
        ldx #$FF
        txs
        sta ROM_ON
        sta BANK_LATCH          ; bank 0 for both images

        ; Power-on RAM holds a stripe pattern; everything we rely on starts at 0.
        lda #0
        ldx #2
@zp:    sta $00,x
        inx
        bne @zp
@pages: sta BUF,x
        sta $0300,x
        sta $0500,x
        inx
        bne @pages

        jsr ioinit
        jsr cint
        cli
        jmp BASIC_COLD

; The interrupt: a raster interrupt once per frame below the text window
; drives the keyboard scan.
ioinit:
        php
        sei
        lda #<irq_default
        sta CINV
        lda #>irq_default
        sta CINV+1
        lda #<brk_default
        sta CBINV
        lda #>brk_default
        sta CBINV+1
        lda #$FF
        sta KEYROWS
        sta LASTKEY
        sta STOPKEY
        lda #0
        sta NDX
        sta TED_SOUND           ; silent, both voices off
        lda #204                ; the first line below the 25 rows
        sta TED_RASTER
        lda #$02                ; raster interrupt only, compare bit 8 clear
        sta TED_IRQENA
        lda #$FF
        sta TED_IRQREQ          ; drop anything pending from before the reset
        jsr bus_init
        plp
        rts

; The TED's display: text mode, 40x25, matrix at $0C00 with attributes at
; $0800, characters from ROM at $D000.
cint:
        lda #$0B                ; screen off while the matrix is cleared
        sta TED_CTRL1
        lda #$08
        sta TED_CTRL2
        lda #$04                ; character data from ROM
        sta TED_CHARCTL
        lda #$D0
        sta TED_CHARBASE
        lda #$08
        sta TED_MATRIX
        lda #BG_COLOUR
        sta TED_BGCOL
        lda #BORDER_COLOUR
        sta TED_BORDER
        lda #$31
        sta TED_COL1
        lda #$51
        sta TED_COL2
        lda #$71
        sta TED_COL3
        jsr screen_init
        jsr clear_screen
        lda #$1B
        sta TED_CTRL1
        rts
