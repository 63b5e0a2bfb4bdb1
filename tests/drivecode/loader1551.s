; The fast loader's routine in a 1551.
        .include "drive1551.inc"
        .include "loader_drive.inc"
