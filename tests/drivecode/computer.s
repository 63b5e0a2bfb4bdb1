; The computer's side of the drive code test, run from BASIC (10 SYS4109) with the real
; KERNAL: it uploads the drive's routine with M-W on the command channel, starts it with
; M-E (upload.s), and takes back, for each sector of the list, the read job's status and
; buffer and the sector's data block as raw GCR, over the transfer of receive1551.s or
; receive1541.s. Each must be what the disk holds; the verdict goes to the debug port.

        .include "basic_stub.inc"
        .include "sectors.inc"

        .import receiveSetup, receiveBegin, receiveByte, receiveEnd
        .import openCommandChannel, upload, executeDriveCode

JIFFY      = $A5                ; the low byte of the KERNAL's clock
DEBUG_PORT = $FDCF

        .zeropage
src:    .res 2
dst:    .res 2
left:   .res 2
track:  .res 1
sector: .res 1
index:  .res 1
bits:   .res 1                  ; the GCR encoder's byte being filled, and its bits left
bitsLeft: .res 1
code:   .res 1

        basicStub
        ; A drive that was just switched on runs its own start first: two seconds.
        lda JIFFY
        clc
        adc #100
@settle:
        cmp JIFFY
        bne @settle

        jsr openCommandChannel
        bcs noChannel
        jsr upload
        jsr executeDriveCode

        sei
        jsr receiveSetup
        lda #0
        sta index
@sector:
        ldx index
        lda sectorTable,x
        beq @pass
        sta track
        lda sectorTable+1,x
        sta sector
        jsr sectorPattern
        jsr encodeBlock
        jsr receiveBegin
        lda index
        lsr
        sta index               ; the sector's place in the list, for the verdicts
        jsr receiveByte
        cmp #1
        bne @jobStatus
        ldy #0
@data:  jsr receiveByte
        cmp block+1,y
        bne @jobData
        iny
        bne @data
@gcrHead:
        jsr receiveByte
        cmp gcr,y
        bne @gcr
        iny
        bne @gcrHead
@gcrTail:
        jsr receiveByte
        cmp gcr+256,y
        bne @gcr
        iny
        cpy #GCR_TAIL
        bne @gcrTail
        lda index
        asl
        adc #2
        sta index
        jmp @sector
@pass:  jsr receiveEnd
        lda #VERDICT_PASS
        bne verdict
@jobStatus:
        lda #VERDICT_JOB_STATUS
        bne @failed
@jobData:
        lda #VERDICT_JOB_DATA
        bne @failed
@gcr:   lda #VERDICT_GCR
@failed:
        ora index
verdict:
        sta DEBUG_PORT
        jmp verdict

noChannel:
        lda #VERDICT_NO_CHANNEL
        bne verdict

; The data block the DOS writes for the sector: its mark, the pattern (the track, the
; sector, then each byte its offset plus 7 * track + 13 * sector), the checksum (all 256
; bytes exclusive-ored) and two zeros.
sectorPattern:
        lda #$07
        sta block
        lda track
        sta block+1
        lda sector
        sta block+2
        lda track               ; 7 * track + 13 * sector, in A by additions
        asl
        asl
        asl
        sec
        sbc track
        ldx #13
@times: clc
        adc sector
        dex
        bne @times
        clc
        adc #2                  ; the offset of the first patterned byte
        ldy #2
@fill:  sta block+1,y
        clc
        adc #1
        iny
        bne @fill
        lda #0
        ldy #0
@sum:   eor block+1,y
        iny
        bne @sum
        sta block+257
        lda #0
        sta block+258
        sta block+259
        rts

; The 260 bytes of block as GCR into gcr: each nybble its five-bit code, high nybble
; first, the bits packed from the top.
encodeBlock:
        lda #<block
        sta src
        lda #>block
        sta src+1
        lda #<gcr
        sta dst
        lda #>gcr
        sta dst+1
        lda #8
        sta bitsLeft
        ldx #0                  ; block bytes done, low byte; 260 is 256 + 4
        stx left
@byte:  ldy #0
        lda (src),y
        pha
        lsr
        lsr
        lsr
        lsr
        jsr putCode
        pla
        and #$0F
        jsr putCode
        inc src
        bne :+
        inc src+1
:       inx
        bne :+
        inc left
:       lda left
        beq @byte
        cpx #4
        bne @byte
        rts

; The five-bit code of nybble A onto the GCR stream.
putCode:
        tay
        lda gcrCode,y
        asl
        asl
        asl
        sta code
        ldy #5
@bit:   asl code
        rol bits
        dec bitsLeft
        bne @next
        tya
        pha
        ldy #0
        lda bits
        sta (dst),y
        inc dst
        bne :+
        inc dst+1
:       lda #8
        sta bitsLeft
        pla
        tay
@next:  dey
        bne @bit
        rts

        .rodata
sectorTable:   sectorList
gcrCode:       .byte $0A, $0B, $12, $13, $0E, $0F, $16, $17, $09, $19, $1A, $1B, $0D, $1D, $1E, $15

        .bss
block:  .res 260
gcr:    .res GCR_BYTES
