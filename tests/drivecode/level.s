; The level the game loads later through the resident loader.
        .include "loader.inc"
        .include "pattern.inc"

        .segment "FILE"
        .word LEVEL_LOAD
        .org LEVEL_LOAD
        patternBytes LEVEL_LOAD, LEVEL_SIZE, LEVEL_SEED
