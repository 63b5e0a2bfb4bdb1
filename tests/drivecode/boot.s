; The first file of a fast-loading disk, started as a user starts a disk (LOAD"*",8 then
; RUN): with the KERNAL's help it puts its routine into the drive (M-W in chunks, then
; M-E), then takes the machine over: all RAM, no KERNAL, a raster interrupt a few times a
; frame. The routine stays in the drive and serves each request for a file by name; the
; blocks come in the interrupt, over the transfer of receive1551.s or receive1541.s,
; while the main loop counts on the border. The boot loads the game this way and starts
; it; the game loads its level later through the same loader (loader.inc).

        .include "basic_stub.inc"
        .include "loader.inc"

        .import receiveSetup, receiveBegin, receiveByte, receiveEnd
        .import driveReady, requestBegin, requestByte, requestEnd
        .import openCommandChannel, upload, commandAnswer, executeDriveCode

JIFFY        = $A5              ; the low byte of the KERNAL's clock
TED_IRQ      = $FF09            ; the interrupt flags: a 1 written clears one
TED_IRQ_MASK = $FF0A            ; bit 1 the raster interrupt, bit 0 its line's bit 8
TED_RASTER   = $FF0B
TED_BORDER   = $FF19
ALL_RAM      = $FF3F            ; a write banks the ROMs out
LOADING      = $FF              ; the state while a load runs; 0 once it has ended well
NO_BLOCK_FRAMES = 150

        .zeropage
dst:      .res 2                ; where the next byte goes
name:     .res 2
nameIndex: .res 1
sent:     .res 1
left:     .res 1                ; the block's bytes still to come
addressBytes: .res 1            ; the load address's bytes taken (2: all)
state:    .res 1
idleFrames: .res 1
line:     .res 1                ; the raster line table's place

        .bss
refused:  .res 1                ; REFUSED_* when the drive did not take the upload

        basicStub
        jmp boot
        .assert * = LOADER_LOAD, error, "the loader's entries moved"
        jmp loadFile
        jmp waitLoad

boot:   jsr openCommandChannel
        bcc :+
        lda #VERDICT_NO_CHANNEL
        jmp verdict
:       jsr upload
        jsr commandAnswer
        ldx #0
        cmp #0
        beq @taken
        inx
        cmp #31
        beq @taken
        inx
@taken: stx refused
        jsr executeDriveCode
        lda JIFFY               ; the routine starts when the DOS is done with M-E
        clc
        adc #2
:       cmp JIFFY
        bne :-
        jsr takeOver
        ldx #<gameName
        ldy #>gameName
        jsr loadFile
        jsr waitLoad
        bcs verdict
        jmp GAME_LOAD
verdict:
        sta DEBUG_PORT
        jmp verdict

; The machine is the loader's: RAM throughout, and its raster interrupt.
takeOver:
        sei
        sta ALL_RAM
        lda #<interrupt
        sta $FFFE
        lda #>interrupt
        sta $FFFF
        lda #<ignore
        sta $FFFA
        lda #>ignore
        sta $FFFB
        lda #0
        sta line
        sta frames
        lda rasterLines
        sta TED_RASTER
        lda #$02
        sta TED_IRQ_MASK
        lda TED_IRQ
        sta TED_IRQ
        jmp receiveSetup

; Sends the name at X/Y to the drive's routine; the load goes on in the interrupt.
loadFile:
        stx name
        sty name+1
        sei
        lda #0
        sta counter
        sta counter+1
        sta blocks
        sta addressBytes
        sta idleFrames
        lda #LOADING
        sta state
        jsr requestBegin
        bcs @none
        lda #0
        sta nameIndex
@name:  ldy nameIndex
        lda (name),y
        sta sent
        jsr requestByte
        bcs @none
        inc nameIndex
        lda sent
        bne @name
        jsr requestEnd
        cli
        rts
@none:  jsr requestEnd
        lda #VERDICT_NO_ANSWER
        sta state
        cli
        rts

; Counts on the border until the load has ended. C set with the verdict in A when it
; failed, or when the main loop did not run between the first block and the end.
waitLoad:
        inc counter
        bne :+
        inc counter+1
:       lda counter
        sta TED_BORDER
        lda state
        cmp #LOADING
        beq waitLoad
        cmp #0
        bne @failed
        lda lastCount+1         ; at least 256 rounds
        cmp firstCount+1
        beq @notInterrupted
        clc
        rts
@notInterrupted:
        lda #VERDICT_INTERRUPT
@failed:
        ora refused
        sec
        rts

; The raster interrupt, at the lines of the table in turn: a frame's count, the load's
; timeout, and a block taken whenever the routine has one ready.
interrupt:
        pha
        txa
        pha
        tya
        pha
        lda TED_IRQ
        sta TED_IRQ
        ldx line
        inx
        cpx #RASTER_LINES
        bcc :+
        ldx #0
        inc frames
        lda state
        cmp #LOADING
        bne :+
        inc idleFrames
        lda idleFrames
        cmp #NO_BLOCK_FRAMES
        bcc :+
        lda #VERDICT_NO_BLOCK
        sta state
:       stx line
        lda rasterLines,x
        sta TED_RASTER
        lda state
        cmp #LOADING
        bne @done
        jsr driveReady
        bcc @done
        jsr takeBlock
@done:  pla
        tay
        pla
        tax
        pla
ignore: rti

; A block: its count of bytes (0: the file has ended, $FF: it could not be loaded), then
; the bytes, the file's load address first.
takeBlock:
        jsr receiveBegin
        jsr receiveByte
        cmp #0
        beq @end
        cmp #$FF
        beq @failed
        sta left
        lda blocks
        bne :+
        lda counter
        sta firstCount
        lda counter+1
        sta firstCount+1
:       inc blocks
@byte:  jsr receiveByte
        ldy addressBytes
        cpy #2
        bcs @data
        sta dst,y
        inc addressBytes
        bne @next
@data:  ldy #0
        sta (dst),y
        inc dst
        bne @next
        inc dst+1
@next:  dec left
        bne @byte
        lda #0
        sta idleFrames
        rts
@end:   lda counter
        sta lastCount
        lda counter+1
        sta lastCount+1
        lda #0
        beq @last
@failed:
        lda #VERDICT_READ
@last:  sta state
        jmp receiveEnd          ; the routine may have the cable back

        .rodata
RASTER_LINES = 6
rasterLines: .byte 0, 50, 100, 150, 200, 250
gameName:    .byte "GAME", 0
