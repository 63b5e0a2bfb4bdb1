; The character generator at $D000: screen codes 0-127, eight rows of eight
; pixels each, top row first, bit 7 on the left. The TED draws codes 128-255
; as these glyphs reversed, and the emulator's own menus and monitor draw
; their text with this set, so every glyph must read at 1:1.

        .segment "CHARSET"

;   0 $00  at sign
        .byte %00111100
        .byte %01100110
        .byte %01101110
        .byte %01101110
        .byte %01100000
        .byte %01100010
        .byte %00111100
        .byte %00000000

;   1 $01  A
        .byte %00011000
        .byte %00111100
        .byte %01100110
        .byte %01100110
        .byte %01111110
        .byte %01100110
        .byte %01100110
        .byte %00000000

;   2 $02  B
        .byte %01111100
        .byte %01100110
        .byte %01100110
        .byte %01111100
        .byte %01100110
        .byte %01100110
        .byte %01111100
        .byte %00000000

;   3 $03  C
        .byte %00111100
        .byte %01100110
        .byte %01100000
        .byte %01100000
        .byte %01100000
        .byte %01100110
        .byte %00111100
        .byte %00000000

;   4 $04  D
        .byte %01111000
        .byte %01101100
        .byte %01100110
        .byte %01100110
        .byte %01100110
        .byte %01101100
        .byte %01111000
        .byte %00000000

;   5 $05  E
        .byte %01111110
        .byte %01100000
        .byte %01100000
        .byte %01111100
        .byte %01100000
        .byte %01100000
        .byte %01111110
        .byte %00000000

;   6 $06  F
        .byte %01111110
        .byte %01100000
        .byte %01100000
        .byte %01111100
        .byte %01100000
        .byte %01100000
        .byte %01100000
        .byte %00000000

;   7 $07  G
        .byte %00111100
        .byte %01100110
        .byte %01100000
        .byte %01101110
        .byte %01100110
        .byte %01100110
        .byte %00111110
        .byte %00000000

;   8 $08  H
        .byte %01100110
        .byte %01100110
        .byte %01100110
        .byte %01111110
        .byte %01100110
        .byte %01100110
        .byte %01100110
        .byte %00000000

;   9 $09  I
        .byte %00111100
        .byte %00011000
        .byte %00011000
        .byte %00011000
        .byte %00011000
        .byte %00011000
        .byte %00111100
        .byte %00000000

;  10 $0A  J
        .byte %00001110
        .byte %00000110
        .byte %00000110
        .byte %00000110
        .byte %00000110
        .byte %01100110
        .byte %00111100
        .byte %00000000

;  11 $0B  K
        .byte %01100110
        .byte %01101100
        .byte %01111000
        .byte %01110000
        .byte %01111000
        .byte %01101100
        .byte %01100110
        .byte %00000000

;  12 $0C  L
        .byte %01100000
        .byte %01100000
        .byte %01100000
        .byte %01100000
        .byte %01100000
        .byte %01100000
        .byte %01111110
        .byte %00000000

;  13 $0D  M
        .byte %01100011
        .byte %01110111
        .byte %01111111
        .byte %01101011
        .byte %01100011
        .byte %01100011
        .byte %01100011
        .byte %00000000

;  14 $0E  N
        .byte %01100110
        .byte %01110110
        .byte %01111110
        .byte %01111110
        .byte %01101110
        .byte %01100110
        .byte %01100110
        .byte %00000000

;  15 $0F  O
        .byte %00111100
        .byte %01100110
        .byte %01100110
        .byte %01100110
        .byte %01100110
        .byte %01100110
        .byte %00111100
        .byte %00000000

;  16 $10  P
        .byte %01111100
        .byte %01100110
        .byte %01100110
        .byte %01111100
        .byte %01100000
        .byte %01100000
        .byte %01100000
        .byte %00000000

;  17 $11  Q
        .byte %00111100
        .byte %01100110
        .byte %01100110
        .byte %01100110
        .byte %01101110
        .byte %00111100
        .byte %00001110
        .byte %00000000

;  18 $12  R
        .byte %01111100
        .byte %01100110
        .byte %01100110
        .byte %01111100
        .byte %01111000
        .byte %01101100
        .byte %01100110
        .byte %00000000

;  19 $13  S
        .byte %00111100
        .byte %01100110
        .byte %01100000
        .byte %00111100
        .byte %00000110
        .byte %01100110
        .byte %00111100
        .byte %00000000

;  20 $14  T
        .byte %01111110
        .byte %00011000
        .byte %00011000
        .byte %00011000
        .byte %00011000
        .byte %00011000
        .byte %00011000
        .byte %00000000

;  21 $15  U
        .byte %01100110
        .byte %01100110
        .byte %01100110
        .byte %01100110
        .byte %01100110
        .byte %01100110
        .byte %00111100
        .byte %00000000

;  22 $16  V
        .byte %01100110
        .byte %01100110
        .byte %01100110
        .byte %01100110
        .byte %01100110
        .byte %00111100
        .byte %00011000
        .byte %00000000

;  23 $17  W
        .byte %01100011
        .byte %01100011
        .byte %01100011
        .byte %01101011
        .byte %01111111
        .byte %01110111
        .byte %01100011
        .byte %00000000

;  24 $18  X
        .byte %01100110
        .byte %01100110
        .byte %00111100
        .byte %00011000
        .byte %00111100
        .byte %01100110
        .byte %01100110
        .byte %00000000

;  25 $19  Y
        .byte %01100110
        .byte %01100110
        .byte %01100110
        .byte %00111100
        .byte %00011000
        .byte %00011000
        .byte %00011000
        .byte %00000000

;  26 $1A  Z
        .byte %01111110
        .byte %00000110
        .byte %00001100
        .byte %00011000
        .byte %00110000
        .byte %01100000
        .byte %01111110
        .byte %00000000

;  27 $1B  left bracket
        .byte %00111100
        .byte %00110000
        .byte %00110000
        .byte %00110000
        .byte %00110000
        .byte %00110000
        .byte %00111100
        .byte %00000000

;  28 $1C  pound sign
        .byte %00011100
        .byte %00110110
        .byte %00110000
        .byte %01111100
        .byte %00110000
        .byte %01100010
        .byte %11111110
        .byte %00000000

;  29 $1D  right bracket
        .byte %00111100
        .byte %00001100
        .byte %00001100
        .byte %00001100
        .byte %00001100
        .byte %00001100
        .byte %00111100
        .byte %00000000

;  30 $1E  up arrow
        .byte %00011000
        .byte %00111100
        .byte %01111110
        .byte %00011000
        .byte %00011000
        .byte %00011000
        .byte %00011000
        .byte %00011000

;  31 $1F  left arrow
        .byte %00000000
        .byte %00100000
        .byte %01100000
        .byte %11111111
        .byte %11111111
        .byte %01100000
        .byte %00100000
        .byte %00000000

;  32 $20  space
        .byte %00000000
        .byte %00000000
        .byte %00000000
        .byte %00000000
        .byte %00000000
        .byte %00000000
        .byte %00000000
        .byte %00000000

;  33 $21  exclamation mark
        .byte %00011000
        .byte %00011000
        .byte %00011000
        .byte %00011000
        .byte %00011000
        .byte %00000000
        .byte %00011000
        .byte %00000000

;  34 $22  double quote
        .byte %01100110
        .byte %01100110
        .byte %01000100
        .byte %00000000
        .byte %00000000
        .byte %00000000
        .byte %00000000
        .byte %00000000

;  35 $23  hash
        .byte %00110110
        .byte %00110110
        .byte %01111111
        .byte %00110110
        .byte %01111111
        .byte %00110110
        .byte %00110110
        .byte %00000000

;  36 $24  dollar
        .byte %00011000
        .byte %00111110
        .byte %01100000
        .byte %00111100
        .byte %00000110
        .byte %01111100
        .byte %00011000
        .byte %00000000

;  37 $25  percent
        .byte %01100010
        .byte %01100110
        .byte %00001100
        .byte %00011000
        .byte %00110000
        .byte %01100110
        .byte %01000110
        .byte %00000000

;  38 $26  ampersand
        .byte %00111000
        .byte %01101100
        .byte %00111000
        .byte %01110110
        .byte %01101100
        .byte %01100110
        .byte %00111010
        .byte %00000000

;  39 $27  apostrophe
        .byte %00011000
        .byte %00011000
        .byte %00110000
        .byte %00000000
        .byte %00000000
        .byte %00000000
        .byte %00000000
        .byte %00000000

;  40 $28  left parenthesis
        .byte %00001100
        .byte %00011000
        .byte %00110000
        .byte %00110000
        .byte %00110000
        .byte %00011000
        .byte %00001100
        .byte %00000000

;  41 $29  right parenthesis
        .byte %00110000
        .byte %00011000
        .byte %00001100
        .byte %00001100
        .byte %00001100
        .byte %00011000
        .byte %00110000
        .byte %00000000

;  42 $2A  asterisk
        .byte %00000000
        .byte %01100110
        .byte %00111100
        .byte %11111111
        .byte %00111100
        .byte %01100110
        .byte %00000000
        .byte %00000000

;  43 $2B  plus
        .byte %00000000
        .byte %00011000
        .byte %00011000
        .byte %01111110
        .byte %00011000
        .byte %00011000
        .byte %00000000
        .byte %00000000

;  44 $2C  comma
        .byte %00000000
        .byte %00000000
        .byte %00000000
        .byte %00000000
        .byte %00000000
        .byte %00011000
        .byte %00011000
        .byte %00110000

;  45 $2D  minus
        .byte %00000000
        .byte %00000000
        .byte %00000000
        .byte %01111110
        .byte %00000000
        .byte %00000000
        .byte %00000000
        .byte %00000000

;  46 $2E  full stop
        .byte %00000000
        .byte %00000000
        .byte %00000000
        .byte %00000000
        .byte %00000000
        .byte %00011000
        .byte %00011000
        .byte %00000000

;  47 $2F  slash
        .byte %00000000
        .byte %00000011
        .byte %00000110
        .byte %00001100
        .byte %00011000
        .byte %00110000
        .byte %01100000
        .byte %00000000

;  48 $30  0
        .byte %00111100
        .byte %01100110
        .byte %01101110
        .byte %01111110
        .byte %01110110
        .byte %01100110
        .byte %00111100
        .byte %00000000

;  49 $31  1
        .byte %00011000
        .byte %00111000
        .byte %01111000
        .byte %00011000
        .byte %00011000
        .byte %00011000
        .byte %01111110
        .byte %00000000

;  50 $32  2
        .byte %00111100
        .byte %01100110
        .byte %00000110
        .byte %00001100
        .byte %00110000
        .byte %01100000
        .byte %01111110
        .byte %00000000

;  51 $33  3
        .byte %00111100
        .byte %01100110
        .byte %00000110
        .byte %00011100
        .byte %00000110
        .byte %01100110
        .byte %00111100
        .byte %00000000

;  52 $34  4
        .byte %00001100
        .byte %00011100
        .byte %00111100
        .byte %01101100
        .byte %01111110
        .byte %00001100
        .byte %00001100
        .byte %00000000

;  53 $35  5
        .byte %01111110
        .byte %01100000
        .byte %01111100
        .byte %00000110
        .byte %00000110
        .byte %01100110
        .byte %00111100
        .byte %00000000

;  54 $36  6
        .byte %00111100
        .byte %01100000
        .byte %01100000
        .byte %01111100
        .byte %01100110
        .byte %01100110
        .byte %00111100
        .byte %00000000

;  55 $37  7
        .byte %01111110
        .byte %00000110
        .byte %00001100
        .byte %00011000
        .byte %00011000
        .byte %00011000
        .byte %00011000
        .byte %00000000

;  56 $38  8
        .byte %00111100
        .byte %01100110
        .byte %01100110
        .byte %00111100
        .byte %01100110
        .byte %01100110
        .byte %00111100
        .byte %00000000

;  57 $39  9
        .byte %00111100
        .byte %01100110
        .byte %01100110
        .byte %00111110
        .byte %00000110
        .byte %00000110
        .byte %00111100
        .byte %00000000

;  58 $3A  colon
        .byte %00000000
        .byte %00000000
        .byte %00011000
        .byte %00011000
        .byte %00000000
        .byte %00011000
        .byte %00011000
        .byte %00000000

;  59 $3B  semicolon
        .byte %00000000
        .byte %00000000
        .byte %00011000
        .byte %00011000
        .byte %00000000
        .byte %00011000
        .byte %00011000
        .byte %00110000

;  60 $3C  less than
        .byte %00000110
        .byte %00001100
        .byte %00011000
        .byte %00110000
        .byte %00011000
        .byte %00001100
        .byte %00000110
        .byte %00000000

;  61 $3D  equals
        .byte %00000000
        .byte %00000000
        .byte %01111110
        .byte %00000000
        .byte %01111110
        .byte %00000000
        .byte %00000000
        .byte %00000000

;  62 $3E  greater than
        .byte %01100000
        .byte %00110000
        .byte %00011000
        .byte %00001100
        .byte %00011000
        .byte %00110000
        .byte %01100000
        .byte %00000000

;  63 $3F  question mark
        .byte %00111100
        .byte %01100110
        .byte %00000110
        .byte %00001100
        .byte %00011000
        .byte %00000000
        .byte %00011000
        .byte %00000000

;  64 $40  horizontal line, middle
        .byte %00000000
        .byte %00000000
        .byte %00000000
        .byte %11111111
        .byte %11111111
        .byte %00000000
        .byte %00000000
        .byte %00000000

;  65 $41  spade
        .byte %00011000
        .byte %00111100
        .byte %01111110
        .byte %11111111
        .byte %11111111
        .byte %00011000
        .byte %00111100
        .byte %00000000

;  66 $42  vertical line, middle
        .byte %00011000
        .byte %00011000
        .byte %00011000
        .byte %00011000
        .byte %00011000
        .byte %00011000
        .byte %00011000
        .byte %00011000

;  67 $43  horizontal line, above middle
        .byte %00000000
        .byte %00000000
        .byte %11111111
        .byte %00000000
        .byte %00000000
        .byte %00000000
        .byte %00000000
        .byte %00000000

;  68 $44  horizontal line, high
        .byte %00000000
        .byte %11111111
        .byte %00000000
        .byte %00000000
        .byte %00000000
        .byte %00000000
        .byte %00000000
        .byte %00000000

;  69 $45  horizontal line, higher
        .byte %11111111
        .byte %00000000
        .byte %00000000
        .byte %00000000
        .byte %00000000
        .byte %00000000
        .byte %00000000
        .byte %00000000

;  70 $46  horizontal line, below middle
        .byte %00000000
        .byte %00000000
        .byte %00000000
        .byte %00000000
        .byte %00000000
        .byte %11111111
        .byte %00000000
        .byte %00000000

;  71 $47  vertical line, left of middle
        .byte %00100000
        .byte %00100000
        .byte %00100000
        .byte %00100000
        .byte %00100000
        .byte %00100000
        .byte %00100000
        .byte %00100000

;  72 $48  vertical line, right of middle
        .byte %00000100
        .byte %00000100
        .byte %00000100
        .byte %00000100
        .byte %00000100
        .byte %00000100
        .byte %00000100
        .byte %00000100

;  73 $49  arc, left to bottom
        .byte %00000000
        .byte %00000000
        .byte %00000000
        .byte %11100000
        .byte %11110000
        .byte %00111000
        .byte %00011000
        .byte %00011000

;  74 $4A  arc, top to right
        .byte %00011000
        .byte %00011000
        .byte %00011100
        .byte %00001111
        .byte %00000111
        .byte %00000000
        .byte %00000000
        .byte %00000000

;  75 $4B  arc, top to left
        .byte %00011000
        .byte %00011000
        .byte %00111000
        .byte %11110000
        .byte %11100000
        .byte %00000000
        .byte %00000000
        .byte %00000000

;  76 $4C  corner, bottom left
        .byte %11000000
        .byte %11000000
        .byte %11000000
        .byte %11000000
        .byte %11000000
        .byte %11000000
        .byte %11111111
        .byte %11111111

;  77 $4D  diagonal, falling
        .byte %11000000
        .byte %11100000
        .byte %01110000
        .byte %00111000
        .byte %00011100
        .byte %00001110
        .byte %00000111
        .byte %00000011

;  78 $4E  diagonal, rising
        .byte %00000011
        .byte %00000111
        .byte %00001110
        .byte %00011100
        .byte %00111000
        .byte %01110000
        .byte %11100000
        .byte %11000000

;  79 $4F  corner, top left
        .byte %11111111
        .byte %11111111
        .byte %11000000
        .byte %11000000
        .byte %11000000
        .byte %11000000
        .byte %11000000
        .byte %11000000

;  80 $50  corner, top right
        .byte %11111111
        .byte %11111111
        .byte %00000011
        .byte %00000011
        .byte %00000011
        .byte %00000011
        .byte %00000011
        .byte %00000011

;  81 $51  ball
        .byte %00000000
        .byte %00111100
        .byte %01111110
        .byte %01111110
        .byte %01111110
        .byte %01111110
        .byte %00111100
        .byte %00000000

;  82 $52  horizontal line, low
        .byte %00000000
        .byte %00000000
        .byte %00000000
        .byte %00000000
        .byte %00000000
        .byte %00000000
        .byte %11111111
        .byte %00000000

;  83 $53  heart
        .byte %01100110
        .byte %11111111
        .byte %11111111
        .byte %11111111
        .byte %01111110
        .byte %00111100
        .byte %00011000
        .byte %00000000

;  84 $54  vertical line, left
        .byte %01000000
        .byte %01000000
        .byte %01000000
        .byte %01000000
        .byte %01000000
        .byte %01000000
        .byte %01000000
        .byte %01000000

;  85 $55  arc, right to bottom
        .byte %00000000
        .byte %00000000
        .byte %00000000
        .byte %00000111
        .byte %00001111
        .byte %00011100
        .byte %00011000
        .byte %00011000

;  86 $56  cross, diagonal
        .byte %11000011
        .byte %11100111
        .byte %01111110
        .byte %00111100
        .byte %00111100
        .byte %01111110
        .byte %11100111
        .byte %11000011

;  87 $57  circle
        .byte %00000000
        .byte %00111100
        .byte %01100110
        .byte %01000010
        .byte %01000010
        .byte %01100110
        .byte %00111100
        .byte %00000000

;  88 $58  club
        .byte %00011000
        .byte %00111100
        .byte %00011000
        .byte %01101110
        .byte %11111111
        .byte %01101110
        .byte %00011000
        .byte %00111100

;  89 $59  vertical line, right
        .byte %00000010
        .byte %00000010
        .byte %00000010
        .byte %00000010
        .byte %00000010
        .byte %00000010
        .byte %00000010
        .byte %00000010

;  90 $5A  diamond
        .byte %00011000
        .byte %00111100
        .byte %01111110
        .byte %11111111
        .byte %01111110
        .byte %00111100
        .byte %00011000
        .byte %00000000

;  91 $5B  cross
        .byte %00011000
        .byte %00011000
        .byte %00011000
        .byte %11111111
        .byte %11111111
        .byte %00011000
        .byte %00011000
        .byte %00011000

;  92 $5C  shade, left half
        .byte %10100000
        .byte %01010000
        .byte %10100000
        .byte %01010000
        .byte %10100000
        .byte %01010000
        .byte %10100000
        .byte %01010000

;  93 $5D  vertical line, middle (second)
        .byte %00011000
        .byte %00011000
        .byte %00011000
        .byte %00011000
        .byte %00011000
        .byte %00011000
        .byte %00011000
        .byte %00011000

;  94 $5E  pi
        .byte %00000000
        .byte %00000000
        .byte %01111110
        .byte %00100100
        .byte %00100100
        .byte %00100100
        .byte %01100110
        .byte %00000000

;  95 $5F  triangle, top right
        .byte %11111111
        .byte %01111111
        .byte %00111111
        .byte %00011111
        .byte %00001111
        .byte %00000111
        .byte %00000011
        .byte %00000001

;  96 $60  space (graphics)
        .byte %00000000
        .byte %00000000
        .byte %00000000
        .byte %00000000
        .byte %00000000
        .byte %00000000
        .byte %00000000
        .byte %00000000

;  97 $61  block, left half
        .byte %11110000
        .byte %11110000
        .byte %11110000
        .byte %11110000
        .byte %11110000
        .byte %11110000
        .byte %11110000
        .byte %11110000

;  98 $62  block, bottom half
        .byte %00000000
        .byte %00000000
        .byte %00000000
        .byte %00000000
        .byte %11111111
        .byte %11111111
        .byte %11111111
        .byte %11111111

;  99 $63  line, top edge
        .byte %11111111
        .byte %00000000
        .byte %00000000
        .byte %00000000
        .byte %00000000
        .byte %00000000
        .byte %00000000
        .byte %00000000

; 100 $64  line, bottom edge
        .byte %00000000
        .byte %00000000
        .byte %00000000
        .byte %00000000
        .byte %00000000
        .byte %00000000
        .byte %00000000
        .byte %11111111

; 101 $65  line, left edge
        .byte %10000000
        .byte %10000000
        .byte %10000000
        .byte %10000000
        .byte %10000000
        .byte %10000000
        .byte %10000000
        .byte %10000000

; 102 $66  shade
        .byte %10101010
        .byte %01010101
        .byte %10101010
        .byte %01010101
        .byte %10101010
        .byte %01010101
        .byte %10101010
        .byte %01010101

; 103 $67  line, right edge
        .byte %00000001
        .byte %00000001
        .byte %00000001
        .byte %00000001
        .byte %00000001
        .byte %00000001
        .byte %00000001
        .byte %00000001

; 104 $68  shade, bottom half
        .byte %00000000
        .byte %00000000
        .byte %00000000
        .byte %00000000
        .byte %10101010
        .byte %01010101
        .byte %10101010
        .byte %01010101

; 105 $69  triangle, top left
        .byte %11111111
        .byte %11111110
        .byte %11111100
        .byte %11111000
        .byte %11110000
        .byte %11100000
        .byte %11000000
        .byte %10000000

; 106 $6A  block, right quarter
        .byte %00000011
        .byte %00000011
        .byte %00000011
        .byte %00000011
        .byte %00000011
        .byte %00000011
        .byte %00000011
        .byte %00000011

; 107 $6B  tee, right
        .byte %00011000
        .byte %00011000
        .byte %00011000
        .byte %00011111
        .byte %00011111
        .byte %00011000
        .byte %00011000
        .byte %00011000

; 108 $6C  quarter, bottom right
        .byte %00000000
        .byte %00000000
        .byte %00000000
        .byte %00000000
        .byte %00001111
        .byte %00001111
        .byte %00001111
        .byte %00001111

; 109 $6D  corner, top to right
        .byte %00011000
        .byte %00011000
        .byte %00011000
        .byte %00011111
        .byte %00011111
        .byte %00000000
        .byte %00000000
        .byte %00000000

; 110 $6E  corner, left to bottom
        .byte %00000000
        .byte %00000000
        .byte %00000000
        .byte %11111000
        .byte %11111000
        .byte %00011000
        .byte %00011000
        .byte %00011000

; 111 $6F  block, bottom quarter
        .byte %00000000
        .byte %00000000
        .byte %00000000
        .byte %00000000
        .byte %00000000
        .byte %00000000
        .byte %11111111
        .byte %11111111

; 112 $70  corner, right to bottom
        .byte %00000000
        .byte %00000000
        .byte %00000000
        .byte %00011111
        .byte %00011111
        .byte %00011000
        .byte %00011000
        .byte %00011000

; 113 $71  tee, up
        .byte %00011000
        .byte %00011000
        .byte %00011000
        .byte %11111111
        .byte %11111111
        .byte %00000000
        .byte %00000000
        .byte %00000000

; 114 $72  tee, down
        .byte %00000000
        .byte %00000000
        .byte %00000000
        .byte %11111111
        .byte %11111111
        .byte %00011000
        .byte %00011000
        .byte %00011000

; 115 $73  tee, left
        .byte %00011000
        .byte %00011000
        .byte %00011000
        .byte %11111000
        .byte %11111000
        .byte %00011000
        .byte %00011000
        .byte %00011000

; 116 $74  block, left quarter
        .byte %11000000
        .byte %11000000
        .byte %11000000
        .byte %11000000
        .byte %11000000
        .byte %11000000
        .byte %11000000
        .byte %11000000

; 117 $75  block, left three eighths
        .byte %11100000
        .byte %11100000
        .byte %11100000
        .byte %11100000
        .byte %11100000
        .byte %11100000
        .byte %11100000
        .byte %11100000

; 118 $76  block, right three eighths
        .byte %00000111
        .byte %00000111
        .byte %00000111
        .byte %00000111
        .byte %00000111
        .byte %00000111
        .byte %00000111
        .byte %00000111

; 119 $77  block, top quarter
        .byte %11111111
        .byte %11111111
        .byte %00000000
        .byte %00000000
        .byte %00000000
        .byte %00000000
        .byte %00000000
        .byte %00000000

; 120 $78  block, top three eighths
        .byte %11111111
        .byte %11111111
        .byte %11111111
        .byte %00000000
        .byte %00000000
        .byte %00000000
        .byte %00000000
        .byte %00000000

; 121 $79  block, bottom three eighths
        .byte %00000000
        .byte %00000000
        .byte %00000000
        .byte %00000000
        .byte %00000000
        .byte %11111111
        .byte %11111111
        .byte %11111111

; 122 $7A  corner, bottom right
        .byte %00000011
        .byte %00000011
        .byte %00000011
        .byte %00000011
        .byte %00000011
        .byte %00000011
        .byte %11111111
        .byte %11111111

; 123 $7B  quarter, bottom left
        .byte %00000000
        .byte %00000000
        .byte %00000000
        .byte %00000000
        .byte %11110000
        .byte %11110000
        .byte %11110000
        .byte %11110000

; 124 $7C  quarter, top right
        .byte %00001111
        .byte %00001111
        .byte %00001111
        .byte %00001111
        .byte %00000000
        .byte %00000000
        .byte %00000000
        .byte %00000000

; 125 $7D  corner, top to left
        .byte %00011000
        .byte %00011000
        .byte %00011000
        .byte %11111000
        .byte %11111000
        .byte %00000000
        .byte %00000000
        .byte %00000000

; 126 $7E  quarter, top left
        .byte %11110000
        .byte %11110000
        .byte %11110000
        .byte %11110000
        .byte %00000000
        .byte %00000000
        .byte %00000000
        .byte %00000000

; 127 $7F  quarters, top left and bottom right
        .byte %11110000
        .byte %11110000
        .byte %11110000
        .byte %11110000
        .byte %00001111
        .byte %00001111
        .byte %00001111
        .byte %00001111
