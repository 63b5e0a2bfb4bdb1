; Keyword tokens of BASIC 2 and 3.5 programs, so LIST can spell them out.
; Each name ends with its last character's bit 7 set.

        .include "../include/system.inc"

        .export print_token

FIRST_TOKEN = $80

        .segment "CODE"

; Prints the keyword of token A. Keeps X and Y.
print_token:
        sta BTEMP
        txa
        pha
        tya
        pha
        lda BTEMP
        cmp #$FF
        beq @pi
        sec
        sbc #FIRST_TOKEN
        cmp #token_count
        bcs @unknown
        tax                     ; names to skip
        lda #<names
        sta KPTR
        lda #>names
        sta KPTR+1
        ldy #0
@find:  cpx #0
        beq @print
@skip:  lda (KPTR),y
        iny
        bne @same_page
        inc KPTR+1
@same_page:
        and #$80
        beq @skip
        dex
        jmp @find
@print: lda (KPTR),y
        pha
        and #$7F
        jsr CHROUT
        iny
        bne @more
        inc KPTR+1
@more:  pla
        bpl @print
        jmp @out
@unknown:
        lda #'?'
        .byte $2C               ; skip the next load
@pi:    lda #$FF
        jsr CHROUT
@out:   pla
        tay
        pla
        tax
        rts

        .segment "RODATA"

.macro kw name
        .repeat .strlen(name)-1, i
        .byte .strat(name, i)
        .endrepeat
        .byte .strat(name, .strlen(name)-1) | $80
.endmacro

names:
        kw "END"        ; $80
        kw "FOR"
        kw "NEXT"
        kw "DATA"
        kw "INPUT#"
        kw "INPUT"
        kw "DIM"
        kw "READ"
        kw "LET"        ; $88
        kw "GOTO"
        kw "RUN"
        kw "IF"
        kw "RESTORE"
        kw "GOSUB"
        kw "RETURN"
        kw "REM"
        kw "STOP"       ; $90
        kw "ON"
        kw "WAIT"
        kw "LOAD"
        kw "SAVE"
        kw "VERIFY"
        kw "DEF"
        kw "POKE"
        kw "PRINT#"     ; $98
        kw "PRINT"
        kw "CONT"
        kw "LIST"
        kw "CLR"
        kw "CMD"
        kw "SYS"
        kw "OPEN"
        kw "CLOSE"      ; $A0
        kw "GET"
        kw "NEW"
        kw "TAB("
        kw "TO"
        kw "FN"
        kw "SPC("
        kw "THEN"
        kw "NOT"        ; $A8
        kw "STEP"
        kw "+"
        kw "-"
        kw "*"
        kw "/"
        kw "^"
        kw "AND"
        kw "OR"         ; $B0
        kw ">"
        kw "="
        kw "<"
        kw "SGN"
        kw "INT"
        kw "ABS"
        kw "USR"
        kw "FRE"        ; $B8
        kw "POS"
        kw "SQR"
        kw "RND"
        kw "LOG"
        kw "EXP"
        kw "COS"
        kw "SIN"
        kw "TAN"        ; $C0
        kw "ATN"
        kw "PEEK"
        kw "LEN"
        kw "STR$"
        kw "VAL"
        kw "ASC"
        kw "CHR$"
        kw "LEFT$"      ; $C8
        kw "RIGHT$"
        kw "MID$"
        kw "GO"
        kw "RGR"
        kw "RCLR"
        kw "RLUM"
        kw "JOY"
        kw "RDOT"       ; $D0
        kw "DEC"
        kw "HEX$"
        kw "ERR$"
        kw "INSTR"
        kw "ELSE"
        kw "RESUME"
        kw "TRAP"
        kw "TRON"       ; $D8
        kw "TROFF"
        kw "SOUND"
        kw "VOL"
        kw "AUTO"
        kw "PUDEF"
        kw "GRAPHIC"
        kw "PAINT"
        kw "CHAR"       ; $E0
        kw "BOX"
        kw "CIRCLE"
        kw "GSHAPE"
        kw "SSHAPE"
        kw "DRAW"
        kw "LOCATE"
        kw "COLOR"
        kw "SCNCLR"     ; $E8
        kw "SCALE"
        kw "HELP"
        kw "DO"
        kw "LOOP"
        kw "EXIT"
        kw "DIRECTORY"
        kw "DSAVE"
        kw "DLOAD"      ; $F0
        kw "HEADER"
        kw "SCRATCH"
        kw "COLLECT"
        kw "COPY"
        kw "RENAME"
        kw "BACKUP"
        kw "DELETE"
        kw "RENUMBER"   ; $F8
        kw "KEY"
        kw "MONITOR"
        kw "USING"
        kw "UNTIL"
        kw "WHILE"      ; $FD
token_count = $FE - FIRST_TOKEN
