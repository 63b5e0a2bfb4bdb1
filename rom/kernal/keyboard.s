; The keyboard: scanned once per frame from the raster interrupt, row by row
; through $FD30 and $FF08. A newly pressed key goes into the buffer at $0527
; (count in $EF); cursor keys, space and DEL repeat while held.

        .include "../include/system.inc"

        .export scnkey, getin, stop

SCANROW   = $F0                 ; interrupt-only scratch, so CHRIN's is safe
SCANCOLS  = $F1
KEYFOUND  = $F2
SCANMODS  = $F3

POS_SHIFT = 1*8 + 7
POS_CTRL  = 7*8 + 2
POS_CBM   = 7*8 + 5
POS_STOP  = 7*8 + 7

FIRST_DELAY  = 16               ; frames before a held key repeats
REPEAT_DELAY = 4

        .segment "CODE"

scnkey:
        lda #$FF
        sta KEYFOUND
        sta STOPKEY
        lda #0
        sta SCANMODS
        sta SCANROW
@row:   ldx SCANROW
        lda row_select,x
        sta KEYROWS
        lda #$FF                ; joystick lines stay deselected
        sta TED_KEYLATCH
        lda TED_KEYLATCH
        eor #$FF
        beq @next_row
        sta SCANCOLS
        txa
        asl
        asl
        asl
        tax                     ; X = matrix position of column 0
@col:   lsr SCANCOLS
        bcc @next_col
        jsr key_down
@next_col:
        inx
        lda SCANCOLS
        bne @col
@next_row:
        inc SCANROW
        lda SCANROW
        cmp #8
        bne @row
        lda #$FF
        sta KEYROWS

        lda SCANMODS
        sta MODIFIERS
        ldx KEYFOUND
        cpx #$FF
        bne @pressed
        stx LASTKEY
        rts
@pressed:
        cpx LASTKEY
        beq @held
        stx LASTKEY
        lda #FIRST_DELAY
        sta REPEATDELAY
        jmp emit
@held:  dec REPEATDELAY
        bne @quiet
        lda #REPEAT_DELAY
        sta REPEATDELAY
        jsr translate
        ldy #repeat_count-1
@rep:   cmp repeat_keys,y
        beq put_key
        dey
        bpl @rep
@quiet: rts

; X = matrix position (row * 8 + column) of a key that is down.
key_down:
        cpx #POS_SHIFT
        beq @shift
        cpx #POS_CBM
        beq @cbm
        cpx #POS_CTRL
        beq @ctrl
        cpx #POS_STOP
        bne @key
        lda #$7F
        sta STOPKEY
@key:   lda KEYFOUND
        cmp #$FF
        bne @done
        stx KEYFOUND
@done:  rts
@shift: lda #1
        bne @mod
@cbm:   lda #2
        bne @mod
@ctrl:  lda #4
@mod:   ora SCANMODS
        sta SCANMODS
        rts

emit:
        jsr translate
put_key:
        cmp #0
        beq @full
        ldx NDX
        cpx #KEYDLEN
        bcs @full
        sta KEYD,x
        inc NDX
@full:  rts

; The character of the key at LASTKEY under the modifiers held.
translate:
        ldx LASTKEY
        lda MODIFIERS
        and #4
        bne @ctrl
        lda MODIFIERS
        and #2
        bne @cbm
        lda MODIFIERS
        and #1
        bne @shift
        lda keys_plain,x
        rts
@shift: lda keys_shifted,x
        rts
@cbm:   lda keys_commodore,x
        rts
@ctrl:  lda keys_control,x
        rts

; GETIN: the next key from the buffer in A, or 0 when none waits. Keeps X, Y.
getin:
        php
        sei
        txa
        pha
        lda NDX
        beq @none
        cmp #KEYDLEN+1
        bcc @take
        lda #KEYDLEN            ; a count poked out of range
        sta NDX
@take:  lda KEYD
        pha
        ldx #0
@shift: lda KEYD+1,x
        sta KEYD,x
        inx
        cpx #KEYDLEN-1
        bne @shift
        dec NDX
        pla
@none:  sta KTEMP2
        pla
        tax
        plp
        lda KTEMP2
        clc
        rts

; STOP: Z set while RUN/STOP was down at the last scan.
stop:
        lda STOPKEY
        cmp #$7F
        rts

        .segment "RODATA"

row_select:
        .byte $FE, $FD, $FB, $F7, $EF, $DF, $BF, $7F

repeat_keys:
        .byte $11, $91, $1D, $9D, $14, $94, $20
repeat_count = * - repeat_keys

; Eight rows of eight columns, as the matrix reports them; 0 = no character.
keys_plain:
        ;     DEL  RETURN pound HELP F1   F2   F3   @
        .byte $14, $0D,   $5C,  $8C, $85, $86, $87, $40
        ;     3    W      A     4    Z    S    E    SHIFT
        .byte $33, $57,   $41,  $34, $5A, $53, $45, $00
        ;     5    R      D     6    C    F    T    X
        .byte $35, $52,   $44,  $36, $43, $46, $54, $58
        ;     7    Y      G     8    B    H    U    V
        .byte $37, $59,   $47,  $38, $42, $48, $55, $56
        ;     9    I      J     0    M    K    O    N
        .byte $39, $49,   $4A,  $30, $4D, $4B, $4F, $4E
        ;     down P      L     up   .    :    -    ,
        .byte $11, $50,   $4C,  $91, $2E, $3A, $2D, $2C
        ;     left *      ;     right ESC =    +    /
        .byte $9D, $2A,   $3B,  $1D, $1B, $3D, $2B, $2F
        ;     1    HOME   CTRL  2    SPACE C=  Q    STOP
        .byte $31, $13,   $00,  $32, $20, $00, $51, $03

keys_shifted:
        ;     INST RETURN pound F7   F4   F5   F6   @
        .byte $94, $8D,   $A9,  $88, $89, $8A, $8B, $BA
        ;     #    W      A     $    Z    S    E    SHIFT
        .byte $23, $D7,   $C1,  $24, $DA, $D3, $C5, $00
        ;     %    R      D     &    C    F    T    X
        .byte $25, $D2,   $C4,  $26, $C3, $C6, $D4, $D8
        ;     '    Y      G     (    B    H    U    V
        .byte $27, $D9,   $C7,  $28, $C2, $C8, $D5, $D6
        ;     )    I      J     ^    M    K    O    N
        .byte $29, $C9,   $CA,  $5E, $CD, $CB, $CF, $CE
        ;     down P      L     up   >    [    -    <
        .byte $11, $D0,   $CC,  $91, $3E, $5B, $DD, $3C
        ;     left *      ]     right ESC =    +    ?
        .byte $9D, $C0,   $5D,  $1D, $1B, $3D, $DB, $3F
        ;     !    CLEAR  CTRL  "    SPACE C=  Q    RUN
        .byte $21, $93,   $00,  $22, $A0, $00, $D1, $83

; The Commodore key: colours on 1-8, graphics on the letters.
keys_commodore:
        ;     DEL  RETURN pound HELP F1   F2   F3   @
        .byte $14, $8D,   $A8,  $8C, $85, $86, $87, $A4
        ;     3    W      A     4    Z    S    E    SHIFT
        .byte $96, $B3,   $B0,  $97, $AD, $AE, $B1, $00
        ;     5    R      D     6    C    F    T    X
        .byte $98, $B2,   $AC,  $99, $BC, $BB, $A3, $BD
        ;     7    Y      G     8    B    H    U    V
        .byte $9A, $B7,   $A5,  $9B, $BF, $B4, $B8, $BE
        ;     9    I      J     0    M    K    O    N
        .byte $00, $A2,   $B5,  $00, $A7, $A1, $B9, $AA
        ;     down P      L     up   .    :    -    ,
        .byte $11, $AF,   $B6,  $91, $2E, $3A, $DC, $2C
        ;     left *      ;     right ESC =    +    /
        .byte $9D, $DF,   $3B,  $1D, $1B, $3D, $A6, $2F
        ;     1    HOME   CTRL  2    SPACE C=  Q    STOP
        .byte $81, $13,   $00,  $95, $A0, $00, $AB, $03

; CTRL: the first eight colours on 1-8, reverse on and off on 9 and 0.
keys_control:
        ;     DEL  RETURN pound HELP F1   F2   F3   @
        .byte $00, $00,   $00,  $00, $00, $00, $00, $00
        ;     3    W      A     4    Z    S    E    SHIFT
        .byte $1C, $00,   $00,  $9F, $00, $00, $00, $00
        ;     5    R      D     6    C    F    T    X
        .byte $9C, $00,   $00,  $1E, $00, $00, $00, $00
        ;     7    Y      G     8    B    H    U    V
        .byte $1F, $00,   $00,  $9E, $00, $00, $00, $00
        ;     9    I      J     0    M    K    O    N
        .byte $12, $00,   $00,  $92, $00, $00, $00, $00
        ;     down P      L     up   .    :    -    ,
        .byte $00, $00,   $00,  $00, $00, $00, $00, $00
        ;     left *      ;     right ESC =    +    /
        .byte $00, $00,   $00,  $00, $00, $00, $00, $00
        ;     1    HOME   CTRL  2    SPACE C=  Q    STOP
        .byte $90, $00,   $00,  $05, $00, $00, $00, $00
