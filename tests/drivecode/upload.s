; The KERNAL's part of putting a routine into the drive: the command channel opened with
; I0 (the DOS reads the disk's ID, which its read jobs check), the routine written into
; the drive's RAM with M-W, CHUNK bytes at a time, the DOS's answer read back, and the
; routine started with M-E. The routine is the linked program's DRIVE segment, entered
; at driveEntry.

        .export openCommandChannel, upload, commandAnswer, executeDriveCode
        .import __DRIVE_LOAD__, __DRIVE_RUN__, __DRIVE_SIZE__
        .import driveEntry

SETLFS = $FFBA
SETNAM = $FFBD
OPEN   = $FFC0
CHKIN  = $FFC6
CHKOUT = $FFC9
CHRIN  = $FFCF
CHROUT = $FFD2
CLRCHN = $FFCC
CHUNK  = 32                     ; bytes per M-W: the DOS's command buffer takes about 40

        .zeropage
src:    .res 2

        .bss
dst:    .res 2
left:   .res 2
count:  .res 1
tens:   .res 1

        .code
; OPEN 15,8,15,"I0"; C set when the channel cannot be used.
openCommandChannel:
        lda #15
        ldx #8
        ldy #15
        jsr SETLFS
        lda #2
        ldx #<initialise
        ldy #>initialise
        jsr SETNAM
        jsr OPEN
        bcs @failed
        ldx #15
        jsr CHKOUT
        php
        jsr CLRCHN
        plp
@failed:
        rts

; The routine, CHUNK bytes per M-W: "M-W", address, count, the bytes.
upload:
        lda #<__DRIVE_LOAD__
        sta src
        lda #>__DRIVE_LOAD__
        sta src+1
        lda #<__DRIVE_RUN__
        sta dst
        lda #>__DRIVE_RUN__
        sta dst+1
        lda #<__DRIVE_SIZE__
        sta left
        lda #>__DRIVE_SIZE__
        sta left+1
@chunk: lda left+1
        bne @full
        lda left
        beq @done
        cmp #CHUNK
        bcc @last
@full:  lda #CHUNK
@last:  sta count
        ldx #15
        jsr CHKOUT
        ldx #0
@mw:    lda memoryWrite,x
        jsr CHROUT
        inx
        cpx #3
        bne @mw
        lda dst
        jsr CHROUT
        lda dst+1
        jsr CHROUT
        lda count
        jsr CHROUT
        ldy #0
@byte:  lda (src),y
        jsr CHROUT
        iny
        cpy count
        bne @byte
        jsr CLRCHN
        lda count
        clc
        adc src
        sta src
        bcc :+
        inc src+1
:       lda count
        clc
        adc dst
        sta dst
        bcc :+
        inc dst+1
:       lda left
        sec
        sbc count
        sta left
        bcs @chunk
        dec left+1
        jmp @chunk
@done:  rts

; The number the drive's error channel starts with (its two digits) in A.
commandAnswer:
        ldx #15
        jsr CHKIN
        jsr CHRIN
        and #$0F
        sta tens
        asl
        asl
        adc tens
        asl
        sta tens
        jsr CHRIN
        and #$0F
        clc
        adc tens
        pha
        jsr CLRCHN
        pla
        rts

; M-E: the drive runs the routine from here on.
executeDriveCode:
        ldx #15
        jsr CHKOUT
        ldx #0
@me:    lda memoryExecute,x
        jsr CHROUT
        inx
        cpx #3
        bne @me
        lda #<driveEntry
        jsr CHROUT
        lda #>driveEntry
        jsr CHROUT
        jmp CLRCHN

        .rodata
initialise:    .byte "I0"
memoryWrite:   .byte "M-W"
memoryExecute: .byte "M-E"
