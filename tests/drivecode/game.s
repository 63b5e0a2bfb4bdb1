; The game the boot loads and starts: it checks its own pattern, plays a while, has the
; resident loader fetch its level (in the interrupt, while the loader's main loop counts
; on the border), checks the level, and reports through the debug port.
        .include "loader.inc"
        .include "pattern.inc"

ptr  = $F8                      ; the byte checked
end  = $FA                      ; the address after the last
seed = $FC

        .segment "FILE"
        .word GAME_LOAD
        .org GAME_LOAD
        lda #<GAME_DATA
        ldx #>GAME_DATA
        ldy #GAME_SEED
        jsr checkPattern
        bcc @play
        lda #VERDICT_GAME_DATA
        bne verdict
@play:  lda frames              ; the game runs its first level for half a second
        clc
        adc #25
:       cmp frames
        bne :-
        ldx #<levelName
        ldy #>levelName
        jsr LOADER_LOAD
        jsr LOADER_WAIT
        bcs verdict
        lda #<LEVEL_LOAD
        ldx #>LEVEL_LOAD
        ldy #LEVEL_SEED
        jsr checkPattern
        lda #VERDICT_LEVEL_DATA
        bcs verdict
        lda #VERDICT_PASS
verdict:
        sta DEBUG_PORT
        jmp verdict

; Compares the bytes from A/X (low, high) with the pattern of seed Y, up to the end of
; the file that starts there; C set at the first that differs.
checkPattern:
        sta ptr
        stx ptr+1
        sty seed
        cpx #>LEVEL_LOAD
        beq @level
        lda #<GAME_END
        ldx #>GAME_END
        bne @ends
@level: lda #<(LEVEL_LOAD + LEVEL_SIZE)
        ldx #>(LEVEL_LOAD + LEVEL_SIZE)
@ends:  sta end
        stx end+1
        ldy #0
@byte:  lda ptr+1
        asl
        clc
        adc ptr+1
        clc
        adc ptr
        clc
        adc seed
        cmp (ptr),y
        bne @differs
        inc ptr
        bne :+
        inc ptr+1
:       lda ptr
        cmp end
        bne @byte
        lda ptr+1
        cmp end+1
        bne @byte
        clc
        rts
@differs:
        sec
        rts

levelName:
        .byte "LEVEL", 0

        .assert * <= GAME_DATA, error, "the game's code runs into its pattern"
        .res GAME_DATA - *, 0
        patternBytes GAME_DATA, GAME_END - GAME_DATA, GAME_SEED
