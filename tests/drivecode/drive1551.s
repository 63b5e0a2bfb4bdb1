; The drive code test's routine in a 1551.
        .include "drive1551.inc"
        .include "drive_main.inc"
