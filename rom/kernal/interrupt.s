; Interrupt entry and exit. They live in $FC00-$FCFF, the page that reads from
; bank 0's high image whatever ROM banks a program has selected, so an
; interrupt taken while another bank is in finds its way back.

        .include "../include/system.inc"

        .import scnkey, primm
        .export irq_entry, irq_return, irq_default, brk_default, nmi_entry

        .segment "BANKSAFE"

; Fixed at $FC00: programs that chain the IRQ vector end here.
irq_return:
        pla
        tay
        pla
        tax
        pla
nmi_entry:
        rti

irq_entry:
        pha
        txa
        pha
        tya
        pha
        tsx
        lda $0104,x             ; the status pushed by the CPU
        and #$10
        bne @brk
        jmp (CINV)
@brk:   jmp (CBINV)

        .segment "CODE"

; The KERNAL's own handler: acknowledge the TED, scan the keyboard on the
; frame's raster interrupt.
irq_default:
        lda TED_IRQREQ
        sta TED_IRQREQ
        and #$02
        beq @out
        jsr scnkey
@out:   jmp irq_return

; BRK in a program: report it and go back to BASIC.
brk_default:
        ldx #$FF
        txs
        jsr primm
        .byte $0D, "BREAK", $0D, 0
        cli
        jmp BASIC_WARM
