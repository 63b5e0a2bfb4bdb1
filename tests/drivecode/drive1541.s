; The drive code test's routine in a 1541.
        .include "drive1541.inc"
        .include "drive_main.inc"
