; The top of the KERNAL: the jump table at its customary addresses, the
; version byte at $FF80 (bit 7 set marks a PAL KERNAL) and the CPU vectors.

        .include "../include/system.inc"

        .import reset, irq_entry, nmi_entry, ioinit, cint, clear_screen, primm
        .import scnkey, setlfs, setnam, chrin, chrout, load, stop, getin
        .import screensize, plot, save, listen, second, ciout, unlsn, talk, tksa, acptr, untlk

VERSION = $81                   ; PAL, open ROM release 1

        .segment "TOP"          ; $FF40

        .res 12, $00
        .assert * = CLRSCR, error, "jump table out of place"
        jmp clear_screen        ; $FF4C
        jmp primm               ; $FF4F
        .res $FF80 - $FF52, $00
        .byte VERSION           ; $FF80

        .assert * = CINT, error, "jump table out of place"
        jmp cint                ; $FF81 initialise the screen
        jmp ioinit              ; $FF84 interrupt and keyboard
        jmp none                ; $FF87
        jmp none                ; $FF8A
        jmp none                ; $FF8D
        jmp none                ; $FF90
        jmp second              ; $FF93
        jmp tksa                ; $FF96
        jmp none                ; $FF99
        jmp none                ; $FF9C
        jmp scnkey              ; $FF9F scan the keyboard once
        jmp none                ; $FFA2
        jmp acptr               ; $FFA5
        jmp ciout               ; $FFA8
        jmp untlk               ; $FFAB
        jmp unlsn               ; $FFAE
        jmp listen              ; $FFB1
        jmp talk                ; $FFB4
        jmp none                ; $FFB7
        jmp setlfs              ; $FFBA
        jmp setnam              ; $FFBD
        jmp none                ; $FFC0
        jmp none                ; $FFC3
        jmp none                ; $FFC6
        jmp none                ; $FFC9
        jmp none                ; $FFCC
        jmp chrin               ; $FFCF
        jmp chrout              ; $FFD2
        jmp load                ; $FFD5
        jmp save                ; $FFD8
        jmp none                ; $FFDB
        jmp none                ; $FFDE
        jmp stop                ; $FFE1
        jmp getin               ; $FFE4
        jmp none                ; $FFE7
        jmp none                ; $FFEA
        jmp screensize          ; $FFED
        jmp plot                ; $FFF0
        jmp none                ; $FFF3
        .assert * = $FFF6, error, "jump table out of place"

; Entries this KERNAL does not provide return with carry set.
none:   sec
        rts
        .res $FFFA - $FFF8, $00

        .word nmi_entry         ; $FFFA
        .word reset             ; $FFFC
        .word irq_entry         ; $FFFE
